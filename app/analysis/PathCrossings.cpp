#include "PathCrossings.h"

#include <algorithm>
#include <cmath>

namespace {

struct Crossing {
  double v;
  CurvePoint point;
};

// One coordinate of the curve as a function of the running value.
SampledFunction coordinate(const PathPointFunction& f, bool y) {
  return [&f, y](double v) -> std::optional<double> {
    const auto p = f(v);
    if (!p) return std::nullopt;
    return y ? p->second : p->first;
  };
}

} // namespace

// A closed curve meets its start again at its end: a crossing found at both is one.
std::vector<CurvePoint> axisCrossings(int slot, const PathPointFunction& f, double first,
                                      double last, int count) {
  if (!(first < last) || !std::isfinite(last - first) || count < 1) return {};
  std::vector<double> vs(std::size_t(count) + 1);
  for (int i = 0; i <= count; ++i)
    vs[std::size_t(i)] = std::lerp(first, last, double(i) / count);
  std::vector<Crossing> found;
  for (const bool onXAxis : {true, false}) {
    for (const auto& [v, value] : CurveAnalysis::zerosOf(coordinate(f, onXAxis), vs)) {
      const auto p = f(v);
      if (!p) continue;
      CurvePoint point = onXAxis ? CurvePoint{PointKind::Root, slot, 0, p->first, 0.0}
                                 : CurvePoint{PointKind::YIntercept, slot, 0, 0.0, p->second};
      found.push_back({v, point});
    }
  }
  std::sort(found.begin(), found.end(),
            [](const Crossing& a, const Crossing& b) { return a.v < b.v; });
  std::vector<CurvePoint> points;
  for (const Crossing& c : found) {
    const bool again = std::any_of(points.begin(), points.end(), [&c](const CurvePoint& p) {
      return p.kind == c.point.kind && std::abs(p.x - c.point.x) <= 1e-12 * (1 + std::abs(p.x)) &&
             std::abs(p.y - c.point.y) <= 1e-12 * (1 + std::abs(p.y));
    });
    if (!again) points.push_back(c.point);
  }
  return points;
}
