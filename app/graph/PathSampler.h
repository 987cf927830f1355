// PathSampler: the sampler of curves that run over a value of their own (parametric and polar
// curves over t, x = f(y) over y): points in pixel positions, close enough together that the
// polyline through them stays within a fraction of a pixel of the curve wherever the curve can
// be seen, and broken where it jumps or stops having points.
// The run starts from evenly spread values and halves an interval while its chord is longer
// than a few pixels or its midpoint lies off the chord. An interval that still jumps when it
// is too narrow to halve any more holds a pole or a jump; one end without a point is bisected
// towards the domain's edge. Intervals whose points all lie well outside the view are not
// refined: the chord between them is drawn clipped, as the curve beyond the view is not seen.
// Every evaluation counts against a budget; once it is spent the rest is joined as found.
#pragma once

#include "GraphMapping.h"

#include <cstdint>
#include <functional>
#include <vector>

// The point of the curve at the running value v, in graph coordinates; false where it has none.
using PathFunction = std::function<bool(long double v, long double& x, long double& y)>;

// A position in pixels, unrounded: column and row as GraphMapping's xToColumn and yToRow give.
struct PathPoint {
  long double column;
  long double row;
};

// The pixels worth refining for: the picture, with the reach of a pen around it.
struct PathView {
  long double left;
  long double top;
  long double right;
  long double bottom;
};

struct SampledPath {
  std::vector<std::vector<PathPoint>> pieces; // each of one point (a dot) or more
  std::int64_t evaluations = 0;
};

// Evenly spread values the run starts from, and its bounds on the chords (in pixels).
inline constexpr int PathStartIntervals = 512;
inline constexpr long double PathLongestChord = 4.0L;
inline constexpr long double PathMidpointTolerance = 0.25L;
// The most evaluations one curve may take beyond its start values, whatever its formula.
inline constexpr std::int64_t PathBudget = 100000;

// The curve for v from first to last (first < last, both finite) on the mapping.
SampledPath samplePath(const GraphMapping& mapping, const PathView& view, long double first,
                       long double last, const PathFunction& f,
                       std::int64_t budget = PathBudget);
