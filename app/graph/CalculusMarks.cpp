#include "CalculusMarks.h"

#include "CurvePieces.h"
#include "Derivative.h"
#include "QtObjects.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Rows far outside the plot are held where the clip still sees their direction.
double rowOf(const GraphMapping& mapping, double y) {
  const GraphRange& range = mapping.graphRange();
  const long double row = mapping.plotTop() + (range.yMax - y) * mapping.yScale() + 0.5L;
  return static_cast<double>(std::clamp<long double>(row, -1e7L, 1e7L));
}

QRectF plotRect(const GraphMapping& m) {
  return QRectF(QPointF(m.plotLeft(), m.plotTop()), QPointF(m.plotRight() + 1, m.plotBottom() + 1));
}

// Polylines through the columns where the sample has a value, broken where it has none.
std::vector<QPolygonF> columnPieces(const GraphMapping& mapping,
                                    const std::function<std::optional<double>(double)>& sample) {
  std::vector<QPolygonF> pieces;
  QPolygonF piece;
  for (std::int32_t c = mapping.plotLeft(); c <= mapping.plotRight(); ++c) {
    const auto y = sample(static_cast<double>(mapping.pixelToX(c)));
    if (y) {
      piece << QPointF(c + 0.5, rowOf(mapping, *y));
      continue;
    }
    if (piece.size() >= 2) pieces.push_back(piece);
    piece.clear();
  }
  if (piece.size() >= 2) pieces.push_back(piece);
  std::vector<QPolygonF> clipped;
  for (const QPolygonF& p : pieces)
    for (QPolygonF& part : clipPolyline(p, plotRect(mapping)))
      clipped.push_back(std::move(part));
  return clipped;
}

QPen markPen(const TPen& pen, Qt::PenStyle style) {
  QPen result(toQPen(pen).color());
  result.setWidth(1);
  result.setStyle(style);
  return result;
}

CalculusLine tangentLine(const GraphTangent& tangent, const GraphMapping& mapping,
                         const TPen& pen, const SlotValue& value) {
  const SampledFunction f = [&](double x) { return value(tangent.slot, x); };
  const auto y0 = f(tangent.x);
  const DerivativeResult slope = derivative(f, tangent.x);
  if (!y0 || !slope.ok()) return {markPen(pen, Qt::SolidLine), {}};
  const auto at = [&](std::int32_t c) {
    const double x = static_cast<double>(mapping.pixelToX(c));
    return QPointF(c + 0.5, rowOf(mapping, *y0 + slope.value * (x - tangent.x)));
  };
  const QPolygonF line{at(mapping.plotLeft()), at(mapping.plotRight())};
  return {markPen(pen, Qt::SolidLine), clipPolyline(line, plotRect(mapping))};
}

// The region between the curve and its partner (the x axis, or another curve) over the
// columns within the area's ends, as polygons broken where either has no value.
CalculusFill areaFill(const GraphArea& area, const GraphMapping& mapping, const TPen& pen,
                      const SlotValue& value) {
  CalculusFill fill{areaTint(toQPen(pen).color()), {}};
  const double from = std::min(area.from, area.to);
  const double to = std::max(area.from, area.to);
  std::vector<QPointF> upper, lower;
  const auto close = [&] {
    if (upper.size() >= 2) {
      QPolygonF polygon(upper.begin(), upper.end());
      for (auto p = lower.rbegin(); p != lower.rend(); ++p)
        polygon << *p;
      fill.polygons.push_back(polygon);
    }
    upper.clear();
    lower.clear();
  };
  const double top = mapping.plotTop(), bottom = mapping.plotBottom() + 1;
  for (std::int32_t c = mapping.plotLeft(); c <= mapping.plotRight(); ++c) {
    const double x = static_cast<double>(mapping.pixelToX(c));
    if (x < from || x > to) continue;
    const auto y = value(area.slot, x);
    const auto base = area.other == 0 ? std::optional<double>(0) : value(area.other, x);
    if (!y || !base) {
      close();
      continue;
    }
    upper.emplace_back(c + 0.5, std::clamp(rowOf(mapping, *y), top, bottom));
    lower.emplace_back(c + 0.5, std::clamp(rowOf(mapping, *base), top, bottom));
  }
  close();
  return fill;
}

} // namespace

QColor areaTint(const QColor& pen) {
  const auto mix = [](int channel) { return (3 * 255 + channel) / 4; };
  return QColor(mix(pen.red()), mix(pen.green()), mix(pen.blue()));
}

CalculusMarks calculusMarks(const GraphCalculus& calculus, const GraphMapping& mapping,
                            const std::array<TPen, 5>& pens, const std::array<bool, 5>& used,
                            const SlotValue& value) {
  CalculusMarks marks;
  const auto isUsed = [&used](int slot) { return slot >= 1 && slot <= 5 && used[slot - 1]; };
  for (const GraphArea& area : calculus.areas)
    if (isUsed(area.slot) && (area.other == 0 || isUsed(area.other)))
      marks.fills.push_back(areaFill(area, mapping, pens[area.slot - 1], value));
  for (int slot = 1; slot <= 5; ++slot) {
    if (!calculus.derivatives[slot - 1] || !isUsed(slot)) continue;
    const SampledFunction f = [&](double x) { return value(slot, x); };
    const auto slope = [&f](double x) -> std::optional<double> {
      const DerivativeResult d = centralDerivative(f, x);
      return d.ok() ? std::optional<double>(d.value) : std::nullopt;
    };
    marks.lines.push_back({markPen(pens[slot - 1], Qt::DashLine), columnPieces(mapping, slope)});
  }
  for (const GraphTangent& tangent : calculus.tangents)
    if (isUsed(tangent.slot))
      marks.lines.push_back(tangentLine(tangent, mapping, pens[tangent.slot - 1], value));
  return marks;
}

void paintFills(const CalculusMarks& marks, QPainter& painter) {
  painter.setPen(Qt::NoPen);
  for (const CalculusFill& fill : marks.fills) {
    painter.setBrush(fill.color);
    for (const QPolygonF& polygon : fill.polygons)
      painter.drawPolygon(polygon);
  }
  painter.setBrush(Qt::NoBrush);
}

void paintLines(const CalculusMarks& marks, QPainter& painter) {
  for (const CalculusLine& line : marks.lines) {
    painter.setPen(line.pen);
    for (const QPolygonF& piece : line.pieces)
      painter.drawPolyline(piece);
  }
}
