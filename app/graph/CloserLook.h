// CloserLook: what the sampler evaluates between two columns whose samples look suspicious:
// whether a large step in rows is continuous, a jump or a pole; where a formula stops having
// values; where a curve crosses the plot's edge; where an extreme lies. Every evaluation goes
// through a Probe, which holds the budget of evaluations beyond the columns' own.
#pragma once

#include "GraphMapping.h"
#include "SampledCurve.h"

#include <cstdint>
#include <functional>
#include <optional>

// The value of the curve at x; false when the sample fails.
using CurveFunction = std::function<bool(long double x, long double& y)>;

class Probe {
public:
  Probe(const CurveFunction& f, std::int64_t budget) : f(f), left(budget) {}
  // The sample at x; nothing once the budget is spent.
  std::optional<CurveSample> at(long double x);
  std::int64_t used() const { return count; }
  bool spent() const { return left <= 0; }

private:
  const CurveFunction& f;
  std::int64_t left;
  std::int64_t count = 0;
};

enum class Side { Below, Inside, Above, Off };

// Values as the plot's rows see them.
class PlotRows {
public:
  explicit PlotRows(const GraphMapping& mapping) : mapping(mapping) {}
  // The row of a value, unrounded.
  long double row(long double y) const { return mapping.yToRow(y); }
  // The row held one row beyond the plot's edges: what lies further out shows no more.
  long double clampedRow(long double y) const;
  // A value's share of a pixel, for tolerances given in pixels.
  long double valueOfRows(long double rows) const;
  // Where a sample lies: in the graph range, beyond its top or bottom, or neither (a range
  // that is reversed or a column outside it shows nothing).
  Side side(const CurveSample& s) const;
  // The value of the plot's edge on that side.
  long double edge(Side side) const;

private:
  const GraphMapping& mapping;
};

// Whether a and b are as close as doubles can tell apart, relative to the larger of them and
// to a column's width: the bisections stop there.
bool atResolution(long double a, long double b, long double width);

struct JumpLook {
  enum Kind {
    Continuous, // the step shrinks below a pixel as the interval does
    Unresolved, // the budget ran out first
    Jump,       // the sides stay apart down to a double's resolution
    Gap,        // the formula fails in between
  } kind;
  // A jump's two nearest points, one on each side; a gap's last good points either side.
  CurveSample left;
  CurveSample right;
};

// Bisects towards the larger step in clamped rows between two good samples a column apart.
JumpLook lookAtJump(Probe& probe, const PlotRows& rows, CurveSample a, CurveSample b,
                    long double width);

// The good point nearest to where the formula starts failing, within resolution of the
// failing one (as far as the budget allows).
CurveSample findEdge(Probe& probe, CurveSample good, CurveSample failed, long double resolution);

// The x where the curve crosses the value level between `from` and `to`, which lie on either
// side of it, to within resolution (a failed sample counts as lying on the side of `to`).
long double findCrossing(Probe& probe, CurveSample from, CurveSample to, long double level,
                         long double resolution);

struct Extreme {
  enum Kind {
    Finite,     // located to a quarter of a pixel, or at a jump
    Pole,       // still beyond the plot's edge and growing at a double's resolution
    Unresolved, // the budget ran out first
    Failed,     // the formula failed on the way
  } kind;
  CurveSample at;
  // For a pole: its nearest points either side.
  CurveSample left;
  CurveSample right;
};

// The maximum (or minimum) of f between a and c, where b lies between them and is at least
// as high (low) as both: golden-section search that keeps the best point found.
Extreme locateExtreme(Probe& probe, const PlotRows& rows, CurveSample a, CurveSample b,
                      CurveSample c, bool maximum, long double width);
