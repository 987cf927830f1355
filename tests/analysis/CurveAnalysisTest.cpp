// The points of curves with known closed forms, checked against them to the accuracy the
// refinement promises: roots and intersections to 1e-12 * max(1, |x|), turning points in x to
// 1e-9 * max(1, |x|) and in y to 1e-12 * max(1, |y|).
#include "CurveAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using std::numbers::pi;

// The width of the default main window's plot; the scan is four samples per column of it.
constexpr int Columns = 336;

SampledFunction fn(double (*f)(double)) {
  return [f](double x) -> std::optional<double> { return f(x); };
}

std::vector<CurvePoint> pointsOf(std::vector<Curve> curves, double xMin = -3, double xMax = 3,
                                 int columns = Columns) {
  return CurveAnalysis::points(curves, {xMin, xMax, columns});
}

std::vector<CurvePoint> pointsOf(const SampledFunction& f, double xMin = -3, double xMax = 3) {
  return pointsOf(std::vector<Curve>{{1, f}}, xMin, xMax);
}

std::vector<CurvePoint> ofKind(const std::vector<CurvePoint>& points, PointKind kind) {
  std::vector<CurvePoint> found;
  for (const CurvePoint& p : points)
    if (p.kind == kind) found.push_back(p);
  return found;
}

std::vector<double> xsOf(const std::vector<CurvePoint>& points) {
  std::vector<double> xs;
  for (const CurvePoint& p : points)
    xs.push_back(p.x);
  return xs;
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double share) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], share * std::max(1.0, std::abs(expected[i]))) << i;
}

double cubic(double x) {
  return x * x * x - 2 * x;
}

TEST(CurveAnalysis, CubicRootsExtremaAndYIntercept) {
  const std::vector<CurvePoint> points = pointsOf(fn(cubic));
  const double r = std::sqrt(2.0);
  const double t = std::sqrt(2.0 / 3);
  expectNear(xsOf(ofKind(points, PointKind::Root)), {-r, 0, r}, 1e-12);
  const std::vector<CurvePoint> maxima = ofKind(points, PointKind::Maximum);
  const std::vector<CurvePoint> minima = ofKind(points, PointKind::Minimum);
  expectNear(xsOf(maxima), {-t}, 1e-9);
  expectNear(xsOf(minima), {t}, 1e-9);
  EXPECT_NEAR(maxima[0].y, cubic(-t), 1e-12 * std::abs(cubic(t)));
  EXPECT_NEAR(minima[0].y, cubic(t), 1e-12 * std::abs(cubic(t)));
  const std::vector<CurvePoint> intercepts = ofKind(points, PointKind::YIntercept);
  ASSERT_EQ(intercepts.size(), 1u);
  EXPECT_EQ(intercepts[0].x, 0);
  EXPECT_EQ(intercepts[0].y, 0);
  for (const CurvePoint& p : points) {
    EXPECT_EQ(p.slot, 1);
    EXPECT_EQ(p.otherSlot, 0);
  }
  EXPECT_TRUE(std::is_sorted(points.begin(), points.end(),
                             [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; }));
}

TEST(CurveAnalysis, SimpleRootsToAFewUlps) {
  // Samples that miss the roots, on an uneven range.
  const std::vector<CurvePoint> cosine = pointsOf(fn(std::cos), -2.9, 3.1);
  expectNear(xsOf(ofKind(cosine, PointKind::Root)), {-pi / 2, pi / 2}, 1e-15);
  expectNear(xsOf(ofKind(cosine, PointKind::Maximum)), {0}, 1e-9);
  const SampledFunction expMinusTwo = [](double x) -> std::optional<double> {
    return std::exp(x) - 2;
  };
  expectNear(xsOf(ofKind(pointsOf(expMinusTwo, -2.9, 3.1), PointKind::Root)), {std::log(2.0)},
             1e-15);
}

TEST(CurveAnalysis, NoRootsAtPolesOrJumps) {
  const std::vector<CurvePoint> tangent = pointsOf(fn(std::tan), -3, 3);
  expectNear(xsOf(ofKind(tangent, PointKind::Root)), {0}, 1e-12);
  EXPECT_TRUE(ofKind(tangent, PointKind::Minimum).empty());
  EXPECT_TRUE(ofKind(tangent, PointKind::Maximum).empty());

  const SampledFunction reciprocal = [](double x) -> std::optional<double> { return 1 / x; };
  EXPECT_TRUE(pointsOf(reciprocal).empty());
  // Samples that straddle the pole instead of hitting it.
  EXPECT_TRUE(pointsOf(reciprocal, -2.9, 3.1).empty());

  const SampledFunction steps = [](double x) -> std::optional<double> {
    return std::floor(x) - 0.5;
  };
  EXPECT_TRUE(ofKind(pointsOf(steps), PointKind::Root).empty());
  EXPECT_EQ(pointsOf(steps).size(), 1u); // the y-intercept
  // A sawtooth crosses zero in every tooth and falls back at every integer.
  const SampledFunction saw = [](double x) -> std::optional<double> {
    return x - std::floor(x) - 0.5;
  };
  const std::vector<CurvePoint> teeth = pointsOf(saw, -2.9, 3.1);
  expectNear(xsOf(ofKind(teeth, PointKind::Root)), {-2.5, -1.5, -0.5, 0.5, 1.5, 2.5}, 1e-12);
  EXPECT_TRUE(ofKind(teeth, PointKind::Minimum).empty());
  EXPECT_TRUE(ofKind(teeth, PointKind::Maximum).empty());
}

TEST(CurveAnalysis, TouchingRootsAreMinimaAndRoots) {
  const SampledFunction square = [](double x) -> std::optional<double> { return x * x; };
  for (const double xMin : {-3.0, -2.9}) {
    const std::vector<CurvePoint> points = pointsOf(square, xMin, 3);
    expectNear(xsOf(ofKind(points, PointKind::Root)), {0}, 1e-12);
    expectNear(xsOf(ofKind(points, PointKind::Minimum)), {0}, 1e-9);
  }
  const SampledFunction shifted = [](double x) -> std::optional<double> {
    return (x - 1) * (x - 1);
  };
  const std::vector<CurvePoint> points = pointsOf(shifted, -2.9, 3.1);
  expectNear(xsOf(ofKind(points, PointKind::Root)), {1}, 1e-9);
}

TEST(CurveAnalysis, FailedStretchesSplitTheScan) {
  const SampledFunction root = [](double x) -> std::optional<double> {
    if (x < 0) return std::nullopt;
    return std::sqrt(x) - 1;
  };
  const std::vector<CurvePoint> points = pointsOf(root);
  expectNear(xsOf(ofKind(points, PointKind::Root)), {1}, 1e-12);
  for (const CurvePoint& p : points)
    EXPECT_GE(p.x, 0);
  // -1 left of a gap and +1 right of it: no root, no turn across it.
  const SampledFunction gap = [](double x) -> std::optional<double> {
    if (std::abs(x) < 0.5) return std::nullopt;
    return x < 0 ? -1 - x * x : 1 + x * x;
  };
  EXPECT_TRUE(pointsOf(gap).empty());
  // Values that are not finite fail like the engine does.
  const SampledFunction inf = [](double x) -> std::optional<double> {
    return std::abs(x) < 0.5 ? HUGE_VAL * (x < 0 ? -1 : 1) : x;
  };
  EXPECT_TRUE(pointsOf(inf).empty());
}

TEST(CurveAnalysis, IntersectionsOfEveryPair) {
  const std::vector<CurvePoint> points = pointsOf({{1, fn(std::sin)}, {3, fn(std::cos)}}, -3, 3);
  std::vector<CurvePoint> crossings = ofKind(points, PointKind::Intersection);
  expectNear(xsOf(crossings), {-3 * pi / 4, pi / 4}, 1e-12);
  for (const CurvePoint& p : crossings) {
    EXPECT_EQ(p.slot, 1);
    EXPECT_EQ(p.otherSlot, 3);
    EXPECT_NEAR(p.y, std::sin(p.x), 1e-15);
  }
  // Single-curve points of slot 1 first, then its intersections, then slot 3.
  EXPECT_EQ(points.front().slot, 1);
  EXPECT_EQ(points.front().otherSlot, 0);
  EXPECT_EQ(points.back().slot, 3);
}

TEST(CurveAnalysis, CurvesThatTouchIntersectWhereTheyTouch) {
  const SampledFunction parabola = [](double x) -> std::optional<double> { return x * x; };
  const SampledFunction tangent = [](double x) -> std::optional<double> { return 2 * x - 1; };
  const std::vector<CurvePoint> points = pointsOf({{1, parabola}, {2, tangent}}, -2.9, 3.1);
  const std::vector<CurvePoint> touching = ofKind(points, PointKind::Intersection);
  expectNear(xsOf(touching), {1}, 1e-9);
  EXPECT_NEAR(touching[0].y, 1, 1e-9);
}

TEST(CurveAnalysis, IdenticalCurvesDoNotIntersect) {
  const std::vector<CurvePoint> points = pointsOf({{1, fn(cubic)}, {2, fn(cubic)}});
  EXPECT_TRUE(ofKind(points, PointKind::Intersection).empty());
  EXPECT_EQ(ofKind(points, PointKind::Root).size(), 6u);
}

TEST(CurveAnalysis, EmptyRangeHasNoPoints) {
  EXPECT_TRUE(pointsOf(fn(cubic), 3, -3).empty());
  EXPECT_TRUE(pointsOf(fn(cubic), 1, 1).empty());
  const SampledFunction nothing = [](double) -> std::optional<double> { return std::nullopt; };
  EXPECT_TRUE(pointsOf(nothing).empty());
}

// Roots that lie a little more than a pixel apart are both found.
TEST(CurveAnalysis, CloseRootsAreBothFound) {
  const double pixel = 6.0 / Columns;
  const SampledFunction pair = [pixel](double x) -> std::optional<double> {
    return (x - 0.3) * (x - 0.3 - 1.1 * pixel);
  };
  expectNear(xsOf(ofKind(pointsOf(pair), PointKind::Root)), {0.3, 0.3 + 1.1 * pixel}, 1e-12);
}

// With the picture the curves are drawn in, the points its sampler evaluated join the scan:
// the root of x*(x-3)/(x-3.001) at 3, a thousandth before its pole, which the picture shows
// where the pole's left side falls through zero; and no root or turn at the pole or a jump.
TEST(CurveAnalysis, NearPolesAndJumpsThePicturesPointsCount) {
  const GraphMapping picture(GraphRange{-10, 10, -10, 10}, GraphMargins{}, 1920, 1080);
  const auto withPicture = [&picture](const SampledFunction& f) {
    return CurveAnalysis::points({{1, f}}, {-10, 10, 1901, picture});
  };
  const SampledFunction spike = [](double x) -> std::optional<double> {
    return x * (x - 3) / (x - 3.001);
  };
  expectNear(xsOf(ofKind(withPicture(spike), PointKind::Root)), {0, 3}, 1e-12);
  const SampledFunction sign = [](double x) -> std::optional<double> {
    return (x > 0.3) - (x < 0.3) + 0.5 * x;
  };
  const std::vector<CurvePoint> signs = withPicture(sign);
  EXPECT_TRUE(ofKind(signs, PointKind::Root).empty());
  EXPECT_TRUE(ofKind(signs, PointKind::Minimum).empty());
  EXPECT_TRUE(ofKind(signs, PointKind::Maximum).empty());
}

} // namespace
