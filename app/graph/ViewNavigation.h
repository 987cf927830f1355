// ViewNavigation: the arithmetic of exploring a graph with the mouse, on a copy of its mapping.
// Zooming keeps the graph point under the pointer in place, panning moves the range by whole
// pixels' worth, and the 1-2-5 tick choice spaces the values of an axis apart. Every result is
// finite and keeps the direction of the range it came from; a step that cannot keep that
// leaves the range as it was.
#pragma once

#include "GraphMapping.h"

#include <cstdint>
#include <functional>

class ViewNavigation {
public:
  // A width below this share of the centre's magnitude (or of 1) has no distinct pixels left.
  static constexpr long double LeastRelativeWidth = 1e-9L;
  static constexpr long double GreatestWidth = 1e12L;
  // One wheel notch zooms in by this factor; a partial notch by its power.
  static constexpr long double NotchFactor = 0.8L;
  static constexpr int NotchDelta = 120;

  explicit ViewNavigation(const GraphMapping& mapping) : mapping(mapping) {}

  // The width factor of a wheel turn: below 1 (zooming in) for a forward turn.
  static long double wheelFactor(int angleDelta);
  // The range scaled by the factors about the graph point at the client pixel position
  // (column, row), which keeps its place on the client; a factor of 1 leaves its axis alone.
  GraphRange zoomed(long double column, long double row, long double factorX,
                    long double factorY) const;
  // The range moved so that what lay at a client pixel lies (dx, dy) pixels further.
  GraphRange panned(long double dx, long double dy) const;
  // The range in which one unit is as long on both axes: the axis with more pixels to its unit
  // widens about its centre until it has as few as the other.
  GraphRange equalScale() const;

  // The width in pixels of the value text of a tick.
  using TextWidth = std::function<int(long double value)>;
  // Pixels the ticks of an axis must lie apart: the widest value text between lower and upper
  // at the period, plus a gap.
  static int leastSpacing(long double lower, long double upper, long double period,
                          const TextWidth& textWidth);
  // The pixels between neighbouring ticks of a span drawn over the given pixels.
  static long double spacing(long double span, std::int32_t pixels, long double period);
  // Whether ticks at the period lie too close for their values or needlessly far apart.
  static bool periodUnfit(long double lower, long double upper, std::int32_t pixels,
                          long double period, const TextWidth& textWidth);
  // The 1, 2 or 5 x 10^k period whose ticks lie at least 60 px apart and no closer than their
  // values need; the given period when the span or the pixels leave nothing to choose from.
  static long double fittedPeriod(long double lower, long double upper, std::int32_t pixels,
                                  long double period, const TextWidth& textWidth);
  // The same for an axis in units of π: lower, upper and the result count π, the values are
  // measured as multiples of π, and the steps are π/4, π/2, π, 2π, 5π and so on.
  static long double fittedPiPeriod(long double lower, long double upper, std::int32_t pixels,
                                    long double period, const TextWidth& textWidth);

private:
  static long double firstFit(long double lower, long double upper, std::int32_t pixels,
                              long double period, const TextWidth& textWidth, long double first,
                              long double (*next)(long double));

  GraphMapping mapping;
};
