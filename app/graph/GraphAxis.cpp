#include "GraphAxis.h"

#include "Canvas.h"
#include "NumberFormat.h"
#include "QtObjects.h"

#include <cmath>
#include <limits>

namespace {

// Tick values are written with the precision of "%.1g", which counts as two digits.
constexpr int ValuePrecision = 2;

// The smallest 32-bit integer not less than q: the truncated quotient, plus 1 when the
// fractional part is positive. False when q is NaN or does not fit.
bool firstMultiple(long double q, std::int32_t& k) {
  if (!(q > std::numeric_limits<std::int32_t>::min() - 1.0L &&
        q < std::numeric_limits<std::int32_t>::max()))
    return false;
  const long double truncated = std::truncl(q);
  k = static_cast<std::int32_t>(truncated) + (q - truncated > 0.0L ? 1 : 0);
  return true;
}

// Writes a tick's value text next to its anchor point on the axis.
void writeValue(Canvas& canvas, const TAxis& axis, long double value, int ax, int ay) {
  const QString text = formatGeneral(value, ValuePrecision);
  const bool above = axis.ValPos == ptUpLeft || axis.ValPos == ptUpRight;
  const bool left = axis.ValPos == ptUpLeft || axis.ValPos == ptDownLeft;
  const int ty = above ? ay - (canvas.textHeight() + axis.ValYDist + 2) : ay + axis.ValYDist + 2;
  const int tx = left ? ax - (canvas.textWidth(text) + axis.ValXDist + 2) : ax + axis.ValXDist + 2;
  canvas.textOut(tx, ty, text);
}

// The canvas font while the ticks of one axis are drawn.
class ValueFont {
public:
  ValueFont(Canvas& canvas, const TFont& font)
      : canvas(canvas), savedFont(canvas.font()), savedColor(canvas.fontColor()) {
    canvas.setFont(toQFont(font), toQColor(font.Color));
  }
  ~ValueFont() { canvas.setFont(savedFont, savedColor); }
  ValueFont(const ValueFont&) = delete;
  ValueFont& operator=(const ValueFont&) = delete;

private:
  Canvas& canvas;
  QFont savedFont;
  QColor savedColor;
};

bool ticksPositive(const TAxis& axis) {
  return axis.GauageType == gtPos || axis.GauageType == gtBoth;
}
bool ticksNegative(const TAxis& axis) {
  return axis.GauageType == gtNeg || axis.GauageType == gtBoth;
}

} // namespace

void forEachTick(long double lower, long double upper, long double period,
                 const std::function<void(long double)>& tick) {
  std::int32_t k = 0;
  if (!(period > 0.0L) || !firstMultiple(lower / period, k)) return;
  long double v = k * period;
  for (int count = 0; v <= upper && count < MaxTicks; ++count, v += period)
    if (v >= lower) tick(v);
}

void DrawXAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& xAxis) {
  if (!xAxis.Visible) return;
  const int row = mapping.originY();
  canvas.moveTo(mapping.plotLeft(), row);
  canvas.lineTo(mapping.plotRight(), row);
  if (xAxis.GauageType == gtNone) return;
  const int top = ticksPositive(xAxis) ? row - 3 : row;
  const int bottom = ticksNegative(xAxis) ? row + 4 : row;
  const GraphRange& range = mapping.graphRange();
  const ValueFont font(canvas, xAxis.ValFont);
  forEachTick(range.xMin, range.xMax, xAxis.GuagePeriod, [&](long double v) {
    const int column = mapping.xToPixel(v);
    canvas.moveTo(column, top);
    canvas.lineTo(column, bottom);
    if (xAxis.ValPos != ptNone) writeValue(canvas, xAxis, v, column, row);
  });
}

void DrawYAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& yAxis,
               const TAxis& xAxis) {
  if (!yAxis.Visible) return;
  const int column = mapping.originX();
  canvas.moveTo(column, mapping.plotTop());
  canvas.lineTo(column, mapping.plotBottom());
  if (yAxis.GauageType == gtNone) return;
  const int start = ticksPositive(yAxis) ? column + 3 : column;
  const int end = ticksNegative(yAxis) ? column - 4 : column;
  const GraphRange& range = mapping.graphRange();
  const ValueFont font(canvas, yAxis.ValFont);
  forEachTick(range.yMin, range.yMax, yAxis.GuagePeriod, [&](long double v) {
    const int row = mapping.yToPixel(v);
    canvas.moveTo(start, row);
    canvas.lineTo(end, row);
    // The X axis's values leave no room for a second value at the origin.
    const bool origin = xAxis.ValPos != ptNone && std::fabs(v) < yAxis.GuagePeriod;
    if (yAxis.ValPos != ptNone && !origin) writeValue(canvas, yAxis, v, column, row);
  });
}
