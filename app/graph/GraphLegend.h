// GraphLegend: whether the graph shows its legend, a box that names each used slot's curve,
// and the corner of the plot the box stands in. The box always stands in a corner: dragged
// elsewhere it goes to the nearest one, so that it never covers the middle of the plot and
// keeps its place, relative to the plot, through any resize or change of margins.
#pragma once

#include <cstdint>

// The corners with their stored numbers, in reading order.
enum class LegendCorner : std::int32_t {
  TopLeft = 0,
  TopRight = 1,
  BottomLeft = 2,
  BottomRight = 3,
};

struct GraphLegend {
  // Where a legend first shows: the top right is where a reader looks for it.
  static constexpr LegendCorner DefaultCorner = LegendCorner::TopRight;

  bool visible = false;
  LegendCorner corner = DefaultCorner;

  bool operator==(const GraphLegend&) const = default;
};

// A stored corner number as a reader takes it: 0..3 stand for themselves, anything else is the
// default corner.
constexpr LegendCorner legendCornerFromStored(std::int32_t value) {
  return value >= 0 && value <= 3 ? static_cast<LegendCorner>(value) : GraphLegend::DefaultCorner;
}
