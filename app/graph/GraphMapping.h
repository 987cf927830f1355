// GraphMapping: between graph coordinates and the pixels of a graph control. It holds the
// scales, the origin and the plot rectangle, whose edges both belong to it; rows grow
// downwards. A small copyable value, so that drawing code and its tests need no widget.
#pragma once

#include <cstdint>

struct GraphRange {
  long double xMin = -3.0L;
  long double xMax = 3.0L;
  long double yMin = -3.0L;
  long double yMax = 3.0L;
  bool operator==(const GraphRange&) const = default;
};

struct GraphMargins {
  std::int32_t left = 10;
  std::int32_t right = 10;
  std::int32_t top = 10;
  std::int32_t bottom = 20;
  bool operator==(const GraphMargins&) const = default;
};

// Plot columns from first to last; empty when last < first.
struct ColumnSpan {
  std::int32_t first;
  std::int32_t last;
};

class GraphMapping {
public:
  GraphMapping() = default;
  GraphMapping(const GraphRange& range, const GraphMargins& margins, std::int32_t clientWidth,
               std::int32_t clientHeight);

  std::int32_t xToPixel(long double x) const;
  std::int32_t yToPixel(long double y) const;
  long double pixelToX(std::int32_t column) const;
  long double pixelToY(std::int32_t row) const;
  // The same without rounding, for points between pixels: a column position (pixelToX of a
  // whole column gives the same x) and the row of a value.
  long double columnToX(long double column) const;
  long double xToColumn(long double x) const;
  long double yToRow(long double y) const;
  long double rowToY(long double row) const;
  // Bounds included; false for a NaN coordinate.
  bool inGraphRange(long double x, long double y) const;

  long double xScale() const { return scaleX; }
  long double yScale() const { return scaleY; }
  std::int32_t originX() const { return xToPixel(0.0L); }
  std::int32_t originY() const { return yToPixel(0.0L); }
  std::int32_t plotLeft() const { return margins.left; }
  std::int32_t plotTop() const { return margins.top; }
  std::int32_t plotRight() const { return right; }
  std::int32_t plotBottom() const { return bottom; }
  // From the first column (row) of the plot to its last, in 64 bits: a document may hold
  // margins of any 32-bit value.
  std::int64_t plotWidth() const { return std::int64_t{right} - margins.left; }
  std::int64_t plotHeight() const { return std::int64_t{bottom} - margins.top; }
  const GraphRange& graphRange() const { return range; }
  // The plot columns a curve samples for a picture whose columns run from left to right: those
  // inside it and one beyond each side, from which a line enters. Margins of any size leave a
  // span no wider than the picture.
  ColumnSpan columnsWithin(std::int32_t left, std::int32_t right) const;

  // The nearest 32-bit integer, halves to the even neighbour. A value beyond the 32-bit
  // range saturates and NaN gives the lowest value: either is far outside every plot, and
  // no conversion is undefined.
  static std::int32_t nearestPixel(long double v);

private:
  GraphRange range;
  GraphMargins margins;
  long double scaleX = 1.0L;
  long double scaleY = 1.0L;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};
