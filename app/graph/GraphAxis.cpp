#include "GraphAxis.h"

#include "Canvas.h"
#include "NumberFormat.h"
#include "PiMultiples.h"
#include "QtObjects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

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

// A position formed in 64 bits from a document's margins or gaps, which may be any 32-bit
// values, held to where a text cell or a tick still has 32-bit ends: far off every picture.
int place(std::int64_t v) {
  constexpr std::int64_t Limit = std::numeric_limits<std::int32_t>::max() / 2;
  return static_cast<int>(std::clamp(v, -Limit, Limit));
}

// Writes a tick's value text next to its anchor point on the axis; the gaps are logical pixels.
void writeValue(Canvas& canvas, const TAxis& axis, long double value, QPoint anchor) {
  const QString text = TickValueText(axis, value);
  const bool above = axis.ValPos == ptUpLeft || axis.ValPos == ptUpRight;
  const bool left = axis.ValPos == ptUpLeft || axis.ValPos == ptDownLeft;
  const std::int64_t gapY = canvas.devicePixels(place(std::int64_t{axis.ValYDist} + 2));
  const std::int64_t gapX = canvas.devicePixels(place(std::int64_t{axis.ValXDist} + 2));
  const std::int64_t ty = above ? anchor.y() - (canvas.textHeight() + gapY) : anchor.y() + gapY;
  const std::int64_t tx = left ? anchor.x() - (canvas.textWidth(text) + gapX) : anchor.x() + gapX;
  canvas.textOut(place(tx), place(ty), text);
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

// The ticks are walked in the order of their values. Pixels are counted in that order too
// ("positions"), so that both axes and mirrored mappings walk alike; the positions before the
// first shown pixel form one group, so that ticks off the picture are skipped in one jump.
class TickWalk {
public:
  TickWalk(const AxisPixels& pixels, long double lower, long double upper, long double period)
      : pixels(pixels), upper(upper), period(period),
        step(pixels.pixelOf(upper) >= pixels.pixelOf(lower) ? 1 : -1),
        shownFrom(std::min(position(pixels.first), position(pixels.last))),
        shownTo(std::max(position(pixels.first), position(pixels.last))) {}

  std::int64_t group(long double v) const {
    return std::max(position(pixels.pixelOf(v)), shownFrom - 1);
  }
  bool shown(std::int64_t group) const { return group >= shownFrom; }
  bool past(std::int64_t group) const { return group > shownTo; }
  bool within(long double v, std::int64_t g) const { return v <= upper && group(v) == g; }

  // The last tick of the group of tick v by the running sum, and in `next` the tick after it.
  // Where many ticks share the group the sum first jumps to a multiple of the period just
  // before the group's end, so that a group costs a few steps however many ticks it holds.
  long double lastOf(long double v, long double& next) const {
    const std::int64_t g = group(v);
    next = v + period;
    if (!within(next, g)) return v;
    const long double nearEnd = std::floor(end(g) / period) * period - period;
    if (nearEnd > next && within(nearEnd, g)) next = nearEnd;
    long double last = v;
    for (int n = 0; n < MaxSteps && next > last && within(next, g); ++n) {
      last = next;
      next += period;
    }
    return last;
  }

  // The first multiple of the period past the end of group g: where the steps alone did not
  // leave the group.
  long double pastEnd(std::int64_t g) const { return std::ceil(end(g) / period) * period; }

private:
  // Rounding puts the jump within a few periods of the group's end, unless the period is so
  // small against the values that the sum hardly moves.
  static constexpr int MaxSteps = 64;

  std::int64_t position(std::int32_t pixel) const { return step * std::int64_t{pixel}; }
  // The value between the last pixel of group g and the next one, or the upper end.
  long double end(std::int64_t g) const {
    const auto pixel = [this](std::int64_t p) { return static_cast<std::int32_t>(step * p); };
    const long double between = (pixels.valueAt(pixel(g)) + pixels.valueAt(pixel(g + 1))) / 2;
    return between < upper ? between : upper;
  }

  const AxisPixels& pixels;
  long double upper;
  long double period;
  int step; // +1 when the pixels grow with the values, -1 when they shrink
  std::int64_t shownFrom;
  std::int64_t shownTo;
};

// The axis line runs along x or along y.
enum class Along { X, Y };

// Values are at most ten characters ("-1.2E-4567"); ten capitals W are wider than any of them.
const QString WidestValue = QString(10, QLatin1Char('W'));

AxisPixels axisPixels(const GraphMapping& mapping, Along along, std::int32_t first,
                      std::int32_t last) {
  AxisPixels pixels;
  if (along == Along::X) {
    pixels.pixelOf = [&mapping](long double v) { return mapping.xToPixel(v); };
    pixels.valueAt = [&mapping](std::int32_t c) { return mapping.pixelToX(c); };
  } else {
    pixels.pixelOf = [&mapping](long double v) { return mapping.yToPixel(v); };
    pixels.valueAt = [&mapping](std::int32_t r) { return mapping.pixelToY(r); };
  }
  pixels.first = first;
  pixels.last = last;
  return pixels;
}

// The pixels along the axis where a tick can still show: the picture, widened by as far as a
// value text can lie from its tick.
AxisPixels shownPixels(const Canvas& canvas, const GraphMapping& mapping, const TAxis& axis,
                       Along along) {
  const bool x = along == Along::X;
  const std::int64_t length = x ? canvas.size().width() : canvas.size().height();
  const std::int64_t text = x ? canvas.textWidth(WidestValue) : canvas.textHeight();
  const std::int64_t gap =
      std::abs(std::int64_t{canvas.devicePixels(x ? axis.ValXDist : axis.ValYDist)}) +
      canvas.devicePixels(2);
  const std::int64_t reach = axis.ValPos == ptNone ? 0 : gap + text;
  // Room is left for one pixel beyond either end.
  constexpr std::int64_t Lowest = std::numeric_limits<std::int32_t>::min() + 1;
  constexpr std::int64_t Highest = std::numeric_limits<std::int32_t>::max() - 1;
  return axisPixels(mapping, along, static_cast<std::int32_t>(std::max(-reach, Lowest)),
                    static_cast<std::int32_t>(std::min(length - 1 + reach, Highest)));
}

// One axis: its line through the origin, a tick across it at every tick value, and the values.
// Ticks reach three pixels to the positive side (above the X axis, right of the Y axis) and to
// the negative side, the far end pixel excluded as on every line; on an image of ratio r, three
// logical pixels (round(3r)). A pen two pixels wide or more widens tick and axis line alike to
// the right and below, so a tick still stands as far out on both sides of the line.
void drawAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& axis, Along along,
              bool skipOriginValue) {
  if (!axis.Visible) return;
  const bool x = along == Along::X;
  const int line = x ? mapping.originY() : mapping.originX();
  // A plot squeezed below its margins lies mirrored between its edges.
  const int near = x ? mapping.plotTop() : mapping.plotLeft();
  const int far = x ? mapping.plotBottom() : mapping.plotRight();
  if (line < std::min(near, far) || line > std::max(near, far)) return;
  const auto point = [x](int a, int across) { return x ? QPoint(a, across) : QPoint(across, a); };
  const QPoint start = point(x ? mapping.plotLeft() : mapping.plotTop(), line);
  const QPoint end = point(x ? mapping.plotRight() : mapping.plotBottom(), line);
  canvas.moveTo(start.x(), start.y());
  canvas.lineTo(end.x(), end.y());
  if (axis.GauageType == gtNone) return;
  const int positive = x ? -1 : 1;
  const int reach = canvas.devicePixels(3);
  const int from = place(ticksPositive(axis) ? std::int64_t{line} + reach * positive : line);
  const int to = place(ticksNegative(axis) ? std::int64_t{line} - (reach + 1) * positive : line);
  const GraphRange& range = mapping.graphRange();
  const ValueFont font(canvas, axis.ValFont);
  const AxisPixels pixels = shownPixels(canvas, mapping, axis, along);
  const auto tick = [&](long double v, std::int32_t pixel) {
    const QPoint a = point(pixel, from);
    const QPoint b = point(pixel, to);
    canvas.moveTo(a.x(), a.y());
    canvas.lineTo(b.x(), b.y());
    const bool origin = skipOriginValue && std::fabs(v) < axis.tickStep();
    if (axis.ValPos != ptNone && !origin) writeValue(canvas, axis, v, point(pixel, line));
  };
  if (x)
    forEachTick(range.xMin, range.xMax, axis.tickStep(), pixels, tick);
  else
    forEachTick(range.yMin, range.yMax, axis.tickStep(), pixels, tick);
}

// A quarter of the way from the back colour to the pen's: light on any back, and darker than a
// light back.
QColor gridColor(const Canvas& canvas) {
  const QColor back = canvas.brush().color();
  const QColor pen = canvas.pen().color();
  const auto mix = [](int b, int p) { return (3 * b + p) / 4; };
  return QColor(mix(back.red(), pen.red()), mix(back.green(), pen.green()),
                mix(back.blue(), pen.blue()));
}

// The lines of one axis's ticks across the plot, from edge to edge.
void drawGridLines(Canvas& canvas, const GraphMapping& mapping, const TAxis& axis, Along along) {
  if (!axis.Grid) return;
  const bool x = along == Along::X;
  const AxisPixels pixels = x ? axisPixels(mapping, along, mapping.plotLeft(), mapping.plotRight())
                              : axisPixels(mapping, along, mapping.plotTop(), mapping.plotBottom());
  const GraphRange& range = mapping.graphRange();
  const auto line = [&](long double, std::int32_t pixel) {
    if (x) {
      canvas.moveTo(pixel, mapping.plotTop());
      canvas.lineTo(pixel, mapping.plotBottom() + 1);
    } else {
      canvas.moveTo(mapping.plotLeft(), pixel);
      canvas.lineTo(mapping.plotRight() + 1, pixel);
    }
  };
  if (x)
    forEachTick(range.xMin, range.xMax, axis.tickStep(), pixels, line);
  else
    forEachTick(range.yMin, range.yMax, axis.tickStep(), pixels, line);
}

} // namespace

void forEachTick(long double lower, long double upper, long double period, const AxisPixels& pixels,
                 const std::function<void(long double, std::int32_t)>& tick) {
  std::int32_t k = 0;
  if (!(period > 0.0L) || !firstMultiple(lower / period, k)) return;
  const TickWalk walk(pixels, lower, upper, period);
  // With the first multiple within 32 bits the period is at least 2^-31 of it, so the
  // extended running sum moves while it lies below the lower end.
  long double v = k * period;
  while (v < lower)
    v += period;
  while (v <= upper) {
    const std::int64_t group = walk.group(v);
    if (walk.past(group)) return;
    long double next = 0.0L;
    const long double last = walk.lastOf(v, next);
    if (walk.shown(group)) tick(last, pixels.pixelOf(last));
    if (walk.within(next, group)) next = walk.pastEnd(group);
    if (!(next > last) || walk.within(next, group)) return; // the sum no longer moves
    v = next;
  }
}

QString TickValueText(long double value) {
  return formatGeneral(value, ValuePrecision);
}

QString TickValueText(const TAxis& axis, long double value) {
  return axis.PiTicks ? PiMultipleText(value / std::numbers::pi_v<long double>)
                      : TickValueText(value);
}

long double TAxis::tickStep() const {
  return PiTicks ? GuagePeriod * std::numbers::pi_v<long double> : GuagePeriod;
}

// The pen keeps its width: a grid line is as wide as an axis line.
void DrawGrid(Canvas& canvas, const GraphMapping& mapping, const TAxis& xAxis, const TAxis& yAxis) {
  if (!xAxis.Grid && !yAxis.Grid) return;
  const QPen saved = canvas.pen();
  QPen grid = saved;
  grid.setColor(gridColor(canvas));
  canvas.setPen(grid);
  drawGridLines(canvas, mapping, xAxis, Along::X);
  drawGridLines(canvas, mapping, yAxis, Along::Y);
  canvas.setPen(saved);
}

void DrawXAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& xAxis) {
  drawAxis(canvas, mapping, xAxis, Along::X, false);
}

// The X axis's values leave no room for a second value at the origin.
void DrawYAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& yAxis,
               const TAxis& xAxis) {
  drawAxis(canvas, mapping, yAxis, Along::Y, xAxis.ValPos != ptNone);
}
