#include "GraphMapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A pixel offset from a margin. A saturated offset stays as it is, and the sum is formed
// in 64 bits, so that nothing wraps.
std::int32_t offsetFrom(std::int32_t margin, std::int32_t offset) {
  constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();
  if (offset == Lowest || offset == Highest) return offset;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{offset} + margin, Lowest, Highest));
}

// A size less margins, formed in 64 bits: a document may hold margins of any 32-bit value.
std::int64_t less(std::int32_t size, std::int32_t margin) {
  return std::int64_t{size} - margin;
}

std::int32_t saturated(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Pixels per graph unit over a span; 1.0 for an empty span, which has no scale of its own.
long double scaleOf(std::int64_t pixels, long double span) {
  return span == 0.0L ? 1.0L : static_cast<long double>(pixels) / span;
}

} // namespace

GraphMapping::GraphMapping(const GraphRange& range, const GraphMargins& margins,
                           std::int32_t clientWidth, std::int32_t clientHeight)
    : range(range), margins(margins),
      scaleX(scaleOf(less(clientWidth, margins.left) - margins.right, range.xMax - range.xMin)),
      scaleY(scaleOf(less(clientHeight, margins.top) - margins.bottom, range.yMax - range.yMin)),
      right(saturated(less(clientWidth, margins.right))),
      bottom(saturated(less(clientHeight, margins.bottom))) {}

ColumnSpan GraphMapping::columnsWithin(std::int32_t left, std::int32_t right) const {
  return {saturated(std::max(std::int64_t{plotLeft()}, std::int64_t{left} - 1)),
          saturated(std::min(std::int64_t{plotRight()}, std::int64_t{right} + 1))};
}

std::int32_t GraphMapping::nearestPixel(long double v) {
  constexpr long double Lowest = std::numeric_limits<std::int32_t>::min();
  constexpr long double Highest = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(v) || v <= Lowest) return std::numeric_limits<std::int32_t>::min();
  if (v >= Highest) return std::numeric_limits<std::int32_t>::max();
  // The default rounding mode rounds halves to the even neighbour. rintl gives what nearbyintl
  // gives without saving and restoring the floating-point environment, which costs a curve
  // sample more than its evaluation does.
  return static_cast<std::int32_t>(std::rintl(v));
}

std::int32_t GraphMapping::xToPixel(long double x) const {
  return offsetFrom(margins.left, nearestPixel((x - range.xMin) * scaleX));
}

std::int32_t GraphMapping::yToPixel(long double y) const {
  return offsetFrom(margins.top, nearestPixel((range.yMax - y) * scaleY));
}

long double GraphMapping::pixelToX(std::int32_t column) const {
  return static_cast<long double>(std::int64_t{column} - margins.left) / scaleX + range.xMin;
}

long double GraphMapping::columnToX(long double column) const {
  return (column - margins.left) / scaleX + range.xMin;
}

long double GraphMapping::xToColumn(long double x) const {
  return margins.left + (x - range.xMin) * scaleX;
}

long double GraphMapping::yToRow(long double y) const {
  return margins.top + (range.yMax - y) * scaleY;
}

long double GraphMapping::rowToY(long double row) const {
  return range.yMax - (row - margins.top) / scaleY;
}

long double GraphMapping::pixelToY(std::int32_t row) const {
  return range.yMax - static_cast<long double>(std::int64_t{row} - margins.top) / scaleY;
}

bool GraphMapping::inGraphRange(long double x, long double y) const {
  return range.xMin <= x && x <= range.xMax && range.yMin <= y && y <= range.yMax;
}
