#include "CurveAnalysis.h"

#include "CurveSampler.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

using Samples = std::vector<std::optional<double>>;

// Below this share of the largest |f| sampled, a value is zero within the curve's rounding.
constexpr double NegligibleShare = 1e-12;
// A sign change is a root only where |f| at the refined bracket has fallen to this share of
// the smaller end value, or in step with the bracket's width; at a jump it stays put, at a
// pole it grows.
constexpr double ShrinkShare = 1e-3;

bool sameSign(double u, double v) {
  return (u > 0 && v > 0) || (u < 0 && v < 0);
}

// Evenly spread over the range, ends included; x = 0 is a sample of a symmetric range.
std::vector<double> sampleXs(const AnalysisRange& range) {
  if (!(range.xMin < range.xMax) || !std::isfinite(range.xMax - range.xMin)) return {};
  const int count = CurveAnalysis::SamplesPerColumn * std::max(1, range.pixelColumns) + 1;
  std::vector<double> xs(count);
  for (int i = 0; i < count; ++i)
    xs[i] = std::lerp(range.xMin, range.xMax, double(i) / (count - 1));
  return xs;
}

// A value that is not finite counts as a failure: it splits the scan like one.
std::optional<double> finiteValue(const SampledFunction& f, double x) {
  const std::optional<double> y = f(x);
  if (y && std::isfinite(*y)) return y;
  return std::nullopt;
}

Samples sample(const SampledFunction& f, const std::vector<double>& xs) {
  Samples ys(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i)
    ys[i] = finiteValue(f, xs[i]);
  return ys;
}

double largestMagnitude(const Samples& ys) {
  double largest = 0;
  for (const std::optional<double>& y : ys)
    if (y) largest = std::max(largest, std::abs(*y));
  return largest;
}

struct Zero {
  double x;
  double y;
};

bool shrankToZero(const Bracket& refined, double x0, double y0, double x1, double y1,
                  double scale) {
  const double left = std::abs(refined.y());
  const double ends = std::min(std::abs(y0), std::abs(y1));
  const double widthShare = std::abs(refined.b - refined.a) / (x1 - x0);
  return left <= ShrinkShare * ends || left <= NegligibleShare * scale ||
         left <= 4 * widthShare * std::max(std::abs(y0), std::abs(y1));
}

// The zeros of g from its samples: an exact zero sample that stands alone (a run of them is
// g vanishing on a stretch, as for two identical curves), and every sign change between
// neighbouring samples that refines to a true crossing.
std::vector<Zero> zeros(const SampledFunction& g, const std::vector<double>& xs, const Samples& gs,
                        double scale) {
  const SampledFunction finite = [&g](double x) { return finiteValue(g, x); };
  std::vector<Zero> found;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (!gs[i]) continue;
    if (*gs[i] == 0) {
      std::size_t last = i;
      while (last + 1 < xs.size() && gs[last + 1] && *gs[last + 1] == 0)
        ++last;
      if (last == i) found.push_back({xs[i], 0});
      i = last;
      continue;
    }
    if (i + 1 == xs.size() || !gs[i + 1] || *gs[i + 1] == 0 || sameSign(*gs[i], *gs[i + 1]))
      continue;
    const std::optional<Bracket> refined = refineRoot(finite, xs[i], *gs[i], xs[i + 1], *gs[i + 1]);
    if (refined && shrankToZero(*refined, xs[i], *gs[i], xs[i + 1], *gs[i + 1], scale))
      found.push_back({refined->x(), refined->y()});
  }
  return found;
}

struct Candidate {
  std::size_t first; // bracket from xs[first] to xs[last]
  std::size_t last;
  bool maximum;
};

// Where the sampled slope changes sign: one flat step between a rise and a fall (a top
// between two samples of equal value) still counts; a longer flat stretch is a plateau.
std::vector<Candidate> turnCandidates(const Samples& ys) {
  std::vector<Candidate> found;
  const auto rise = [&ys](std::size_t i) { return *ys[i + 1] - *ys[i]; };
  for (std::size_t i = 1; i + 1 < ys.size(); ++i) {
    if (!ys[i - 1] || !ys[i] || !ys[i + 1]) continue;
    const double before = rise(i - 1);
    if (before == 0) continue;
    std::size_t last = i + 1;
    double after = rise(i);
    if (after == 0 && i + 2 < ys.size() && ys[i + 2]) {
      after = rise(i + 1);
      last = i + 2;
    }
    if (after != 0 && !sameSign(before, after)) found.push_back({i - 1, last, before > 0});
  }
  return found;
}

bool near(double u, double x) {
  return std::abs(u - x) <= 1e-9 * std::max(1.0, std::abs(x));
}

struct TurnPoint {
  double x;
  double y;
  bool maximum;
};

// The minima and maxima of f from its samples, refined; none at a jump or a pole.
std::vector<TurnPoint> turns(const SampledFunction& f, const std::vector<double>& xs,
                             const Samples& ys, double scale) {
  const SampledFunction finite = [&f](double x) { return finiteValue(f, x); };
  std::vector<TurnPoint> found;
  for (const Candidate& c : turnCandidates(ys)) {
    const std::optional<Turn> turn = refineTurn(finite, xs[c.first], xs[c.last], c.maximum);
    if (!turn) continue;
    double sampledStep = 0;
    for (std::size_t i = c.first; i < c.last; ++i)
      sampledStep = std::max(sampledStep, std::abs(*ys[i + 1] - *ys[i]));
    // At a jump the values either side stay apart however small the bracket gets.
    if (turn->step > ShrinkShare * sampledStep + NegligibleShare * scale) continue;
    found.push_back({turn->x, turn->y, c.maximum});
  }
  return found;
}

// A turn whose value is negligible against the curve's scale touches zero there.
bool touchesZero(const TurnPoint& turn, double scale) {
  return std::abs(turn.y) <= NegligibleShare * scale;
}

// A curve's samples on the scan, with every point the picture's sampler evaluated, and no
// value just after the nearer point of each jump it found, so that no root or turn is looked
// for across it. A domain edge needs no such gap: the scan fails beyond it.
struct Scan {
  std::vector<double> xs;
  Samples ys;
};

Scan withPicture(const Curve& curve, const std::vector<double>& xs, const Samples& ys,
                 const AnalysisRange& range) {
  if (!range.picture) return {xs, ys};
  struct Point {
    double x;
    std::optional<double> y;
    bool gap;
  };
  std::vector<Point> points;
  for (std::size_t i = 0; i < xs.size(); ++i)
    points.push_back({xs[i], ys[i], false});
  const CurveFunction recorded = [&](long double x, long double& y) {
    const std::optional<double> v = curve.f(static_cast<double>(x));
    if (!v) return false;
    y = *v;
    if (std::isfinite(*v)) points.push_back({static_cast<double>(x), v, false});
    return true;
  };
  const GraphMapping& m = *range.picture;
  const auto last = static_cast<std::int32_t>(
      std::min<std::int64_t>(m.plotRight(), std::int64_t{m.plotLeft()} + range.pixelColumns - 1));
  for (const CurveBreak& b : sampleCurve(m, {m.plotLeft(), last}, recorded).breaks)
    if (b.kind == BreakKind::Jump)
      points.push_back({static_cast<double>(std::min(b.left, b.right)), std::nullopt, true});
  std::stable_sort(points.begin(), points.end(), [](const Point& a, const Point& b) {
    return std::tie(a.x, a.gap) < std::tie(b.x, b.gap);
  });
  Scan scan;
  for (const Point& p : points) {
    if (!scan.xs.empty() && scan.xs.back() == p.x && !p.gap) continue;
    scan.xs.push_back(p.x);
    scan.ys.push_back(p.y);
  }
  return scan;
}

// Roots, minima and maxima; a turn that touches zero is a root as well.
void addRootsAndTurns(std::vector<CurvePoint>& points, const Curve& curve,
                      const std::vector<double>& xs, const Samples& ys, double scale) {
  const std::vector<Zero> roots = zeros(curve.f, xs, ys, scale);
  for (const Zero& zero : roots)
    points.push_back({PointKind::Root, curve.slot, 0, zero.x, zero.y});
  for (const TurnPoint& turn : turns(curve.f, xs, ys, scale)) {
    points.push_back(
        {turn.maximum ? PointKind::Maximum : PointKind::Minimum, curve.slot, 0, turn.x, turn.y});
    const bool found = std::any_of(roots.begin(), roots.end(),
                                   [&turn](const Zero& zero) { return near(zero.x, turn.x); });
    if (touchesZero(turn, scale) && !found)
      points.push_back({PointKind::Root, curve.slot, 0, turn.x, turn.y});
  }
}

void addYIntercept(std::vector<CurvePoint>& points, const Curve& curve,
                   const AnalysisRange& range) {
  if (!(range.xMin <= 0 && 0 <= range.xMax)) return;
  if (const std::optional<double> y = finiteValue(curve.f, 0))
    points.push_back({PointKind::YIntercept, curve.slot, 0, 0, *y});
}

void addIntersections(std::vector<CurvePoint>& points, const Curve& one, const Samples& ones,
                      const Curve& other, const Samples& others, const std::vector<double>& xs,
                      double scale) {
  Samples differences(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i)
    if (ones[i] && others[i]) differences[i] = *ones[i] - *others[i];
  const SampledFunction difference = [&one, &other](double x) -> std::optional<double> {
    const std::optional<double> u = finiteValue(one.f, x);
    const std::optional<double> v = finiteValue(other.f, x);
    if (!u || !v) return std::nullopt;
    return *u - *v;
  };
  // Crossings, and places where the curves touch without crossing.
  std::vector<double> found;
  for (const Zero& zero : zeros(difference, xs, differences, scale))
    found.push_back(zero.x);
  for (const TurnPoint& turn : turns(difference, xs, differences, scale))
    if (touchesZero(turn, scale) &&
        std::none_of(found.begin(), found.end(), [&turn](double x) { return near(x, turn.x); }))
      found.push_back(turn.x);
  for (const double x : found)
    if (const std::optional<double> y = finiteValue(one.f, x))
      points.push_back({PointKind::Intersection, one.slot, other.slot, x, *y});
}

} // namespace

std::vector<CurvePoint> CurveAnalysis::points(const std::vector<Curve>& curves,
                                              const AnalysisRange& range) {
  const std::vector<double> xs = sampleXs(range);
  std::vector<CurvePoint> points;
  if (xs.empty()) return points;
  std::vector<Samples> samples;
  std::vector<double> scales;
  for (const Curve& curve : curves) {
    samples.push_back(sample(curve.f, xs));
    scales.push_back(largestMagnitude(samples.back()));
    const Scan scan = withPicture(curve, xs, samples.back(), range);
    addRootsAndTurns(points, curve, scan.xs, scan.ys, scales.back());
    addYIntercept(points, curve, range);
  }
  for (std::size_t i = 0; i < curves.size(); ++i)
    for (std::size_t j = i + 1; j < curves.size(); ++j)
      addIntersections(points, curves[i], samples[i], curves[j], samples[j], xs,
                       std::max(scales[i], scales[j]));
  std::sort(points.begin(), points.end(), [](const CurvePoint& a, const CurvePoint& b) {
    return std::tie(a.slot, a.otherSlot, a.x, a.kind) < std::tie(b.slot, b.otherSlot, b.x, b.kind);
  });
  return points;
}

std::vector<std::pair<double, double>> CurveAnalysis::zerosOf(const SampledFunction& g,
                                                              const std::vector<double>& xs) {
  const Samples gs = sample(g, xs);
  std::vector<std::pair<double, double>> found;
  for (const Zero& zero : zeros(g, xs, gs, largestMagnitude(gs)))
    found.emplace_back(zero.x, zero.y);
  return found;
}
