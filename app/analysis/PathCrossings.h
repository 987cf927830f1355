// Where a curve that runs over a value of its own (parametric, polar, x = f(y)) crosses the
// axes: the sign changes of its y (crossings of the x axis, reported as roots) and of its x
// (crossings of the y axis, reported as y intercepts), each refined to full double precision
// in the running value. A sign change across a pole or a jump is no crossing.
#pragma once

#include "CurveAnalysis.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The point of the curve at the running value; nothing where it has none.
using PathPointFunction = std::function<std::optional<std::pair<double, double>>(double)>;

// The crossings for the running value from first to last, sampled at count + 1 evenly spread
// values; the crossing's own coordinate is exactly 0. In the order the curve meets them.
std::vector<CurvePoint> axisCrossings(int slot, const PathPointFunction& f, double first,
                                      double last, int count);
