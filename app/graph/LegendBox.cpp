#include "LegendBox.h"

#include "Canvas.h"
#include "GraphModel.h"
#include "QtObjects.h"

#include <QBrush>
#include <QLineF>

#include <algorithm>
#include <array>
#include <limits>

namespace {

// Lengths in logical pixels, scaled by the canvas's ratio.
constexpr int Frame = 1;
constexpr int Inset = 6;   // between the box and the plot's edges
constexpr int Padding = 6; // inside the frame; room for the round end of a wide pen
constexpr int SampleLength = 24;
constexpr int SampleGap = 6; // between the sample and the text

// A document may hold margins of any 32-bit size: places are computed wide and held where a
// box's parts can still be added to them, far outside every picture.
int held(std::int64_t v) {
  constexpr std::int64_t Far = std::numeric_limits<int>::max() / 4;
  return static_cast<int>(std::clamp(v, -Far, Far));
}

// The longest start of the text that fits the width with "…" after it (the text itself when
// it fits), never ending in half of a surrogate pair.
QString fitted(const QString& text, std::int64_t width, const Canvas& canvas) {
  if (canvas.textWidth(text) <= width) return text;
  const QString ellipsis(QChar(0x2026));
  qsizetype low = 0;
  qsizetype high = text.size() - 1;
  while (low < high) {
    const qsizetype middle = (low + high + 1) / 2;
    if (canvas.textWidth(text.left(middle) + ellipsis) <= width)
      low = middle;
    else
      high = middle - 1;
  }
  if (low > 0 && text.at(low - 1).isHighSurrogate()) --low;
  return text.left(low) + ellipsis;
}

// What shows between the lines of a hatched or clear back brush is the white of the layer.
QColor fillOf(const TBrush& back) {
  return back.Style == BrushStyle::Solid ? toQColor(back.Color) : QColor(Qt::white);
}

} // namespace

LegendBox layoutLegend(const GraphModel& model, const GraphMapping& mapping, Canvas& canvas) {
  const auto px = [&canvas](int logical) { return canvas.devicePixels(logical); };
  LegendBox box;
  box.frame = px(Frame);
  box.inset = px(Inset);
  box.font = model.xAxis.ValFont;
  box.fill = fillOf(model.backBrush);
  canvas.setFont(toQFont(box.font), toQColor(box.font.Color));
  const int sampleLeft = box.frame + px(Padding);
  const int textLeft = sampleLeft + px(SampleLength) + px(SampleGap);
  const int right = px(Padding) + box.frame;
  const std::int64_t textRoom =
      mapping.plotWidth() + 1 - 2 * std::int64_t{box.inset} - textLeft - right;
  const int rowHeight = canvas.textHeight();
  int top = box.frame + px(Padding);
  int widest = 0;
  for (int n = 1; n <= GraphModel::FormulaCount; ++n) {
    const TFormula& formula = model.formulas[std::size_t(n - 1)];
    if (!formula.Used()) continue;
    const QString text = fitted(QStringLiteral("f%1: ").arg(n) + formula.Caption(),
                                std::max<std::int64_t>(textRoom, 0), canvas);
    const int width = canvas.textWidth(text);
    const int middle = top + rowHeight / 2;
    box.rows.push_back({formula.Pen, text,
                        QLine(sampleLeft, middle, textLeft - px(SampleGap), middle),
                        QRect(textLeft, top, width, rowHeight)});
    widest = std::max(widest, width);
    top += rowHeight;
  }
  if (!box.rows.empty()) box.size = QSize(textLeft + widest + right, top + px(Padding) + box.frame);
  return box;
}

QPoint LegendBox::placeIn(const GraphMapping& mapping, LegendCorner corner) const {
  const bool left = corner == LegendCorner::TopLeft || corner == LegendCorner::BottomLeft;
  const bool top = corner == LegendCorner::TopLeft || corner == LegendCorner::TopRight;
  const std::int64_t x = left ? std::int64_t{mapping.plotLeft()} + inset
                              : std::int64_t{mapping.plotRight()} + 1 - inset - size.width();
  const std::int64_t y = top ? std::int64_t{mapping.plotTop()} + inset
                             : std::int64_t{mapping.plotBottom()} + 1 - inset - size.height();
  return {held(x), held(y)};
}

LegendCorner LegendBox::nearestCorner(const GraphMapping& mapping, QPoint at) const {
  constexpr std::array corners{LegendCorner::TopLeft, LegendCorner::TopRight,
                               LegendCorner::BottomLeft, LegendCorner::BottomRight};
  const auto distance = [&](LegendCorner corner) {
    return QLineF(placeIn(mapping, corner), at).length();
  };
  return *std::min_element(corners.begin(), corners.end(), [&](LegendCorner a, LegendCorner b) {
    return distance(a) < distance(b);
  });
}

// The frame is black, as the axes are drawn.
void drawLegend(Canvas& canvas, const LegendBox& box, QPoint at) {
  if (box.isEmpty()) return;
  const QRect outer(at, box.size);
  canvas.setBrush(QBrush(Qt::black));
  canvas.fillRect(outer);
  canvas.setBrush(QBrush(box.fill));
  canvas.fillRect(outer.adjusted(box.frame, box.frame, -box.frame, -box.frame));
  for (const LegendRow& row : box.rows) {
    canvas.setPen(toQPen(row.pen));
    canvas.moveTo(at.x() + row.sample.x1(), at.y() + row.sample.y1());
    canvas.lineTo(at.x() + row.sample.x2(), at.y() + row.sample.y2());
  }
  canvas.setFont(toQFont(box.font), toQColor(box.font.Color));
  for (const LegendRow& row : box.rows)
    canvas.textOut(at.x() + row.textCell.left(), at.y() + row.textCell.top(), row.text);
}
