// ImplicitSampler: the curve F(x, y) = 0 of a relation (F = L - R) and the region where F has
// one sign, over the pixels of a plot. F is evaluated on a coarse lattice first; cells where
// it changes sign or stops having values, and their neighbours, are evaluated on a fine
// lattice, whose cells are cut by marching squares. Each crossing of a fine cell's edge is
// refined by bisection to a small share of a pixel, and is a crossing only when |F| shrinks
// towards it: where F jumps across zero (a pole, a step) nothing is drawn, and a region stops
// at the jump. A curve smaller than a coarse cell that changes no corner's sign is not seen,
// nor is a zero where F touches zero without changing sign: the caller tells of a curve that
// found no crossing at all.
#pragma once

#include "GraphMapping.h"
#include "PathSampler.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// F at a point of the graph; false where it has no value.
using PlaneFunction = std::function<bool(long double x, long double y, long double& value)>;

// The pixels to cover, edges included.
struct ImplicitView {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
};

inline constexpr int ImplicitFineStep = 2;    // pixels between fine lattice points
inline constexpr int ImplicitCoarseCells = 4; // fine cells along a coarse cell's side

struct ImplicitCurve {
  std::vector<std::vector<PathPoint>> lines;   // F = 0, chained into polylines
  std::vector<std::vector<PathPoint>> regions; // polygons where F has the wanted sign
  std::int64_t evaluations = 0;
  std::optional<PathPoint> lastGood; // the last lattice point where F had a value
};

// The region wanted is where F < 0 (regionSign -1), F > 0 (+1), or none (0).
ImplicitCurve sampleImplicit(const GraphMapping& mapping, const ImplicitView& view,
                             const PlaneFunction& f, int regionSign);
