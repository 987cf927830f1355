// The path sampler with plain functions: its points stay close to the curve, it breaks at
// poles and domain edges, skips what cannot be seen, and keeps within its budget.
#include "PathSampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using std::numbers::pi;

struct View {
  GraphMapping mapping;
  PathView pixels;
};

// A square plot of side pixels inside a control of width by that height, showing -half..half.
View squareView(int width, int side, long double half) {
  const int left = (width - side) / 2;
  const GraphMapping m({-half, half, -half, half}, {left, left, 0, 0}, width, side);
  return {m, {0, 0, static_cast<long double>(width - 1), static_cast<long double>(side - 1)}};
}

PathFunction circle(long double r) {
  return [r](long double t, long double& x, long double& y) {
    x = r * std::cos(t);
    y = r * std::sin(t);
    return true;
  };
}

std::size_t pointCount(const SampledPath& path) {
  std::size_t n = 0;
  for (const auto& piece : path.pieces)
    n += piece.size();
  return n;
}

// The unit circle on a 1080-pixel square: one closed piece whose chords are short and whose
// points lie on the circle, within the evaluations a picture can afford.
TEST(PathSampler, ASmoothClosedCurveIsOnePieceOfShortChords) {
  const View v = squareView(1920, 1080, 1.1L);
  const SampledPath path = samplePath(v.mapping, v.pixels, 0, 2 * pi, circle(1));
  ASSERT_EQ(path.pieces.size(), 1u);
  const auto& piece = path.pieces.front();
  EXPECT_LE(path.evaluations, 10000);
  const long double cx = v.mapping.xToColumn(0);
  const long double cy = v.mapping.yToRow(0);
  const long double radius = v.mapping.xToColumn(1) - cx;
  for (std::size_t i = 1; i < piece.size(); ++i) {
    EXPECT_LE(std::hypot(piece[i].column - piece[i - 1].column, piece[i].row - piece[i - 1].row),
              PathLongestChord);
    EXPECT_NEAR(std::hypot(piece[i].column - cx, piece[i].row - cy), radius, 1e-9);
  }
  EXPECT_NEAR(piece.front().column, piece.back().column, 1e-9);
  EXPECT_NEAR(piece.front().row, piece.back().row, 1e-9);
}

// Poles break the curve; so do the edges of the domain, and a piece ends close to them.
TEST(PathSampler, PolesAndDomainEdgesBreakTheCurve) {
  const View v = squareView(600, 600, 3);
  const PathFunction secant = [](long double t, long double& x, long double& y) {
    x = 1 / std::cos(t);
    y = std::tan(t) / std::cos(t);
    return true;
  };
  // Chords far beyond the view may join the branches: they are never seen. None may pass
  // through the view between the branches, |x| < 1.
  const long double cx = v.mapping.xToColumn(0);
  const long double band = 0.9L * (v.mapping.xToColumn(1) - cx);
  for (const auto& piece : samplePath(v.mapping, v.pixels, 0, 2 * pi, secant).pieces)
    for (std::size_t i = 1; i < piece.size(); ++i)
      for (int k = 0; k <= 64; ++k) {
        const long double column = std::lerp(piece[i - 1].column, piece[i].column, k / 64.0L);
        const long double row = std::lerp(piece[i - 1].row, piece[i].row, k / 64.0L);
        const bool inView = row >= v.pixels.top && row <= v.pixels.bottom;
        ASSERT_FALSE(inView && std::abs(column - cx) < band) << i;
      }

  // The lemniscate r = sqrt(cos(2t)) has points only where cos(2t) >= 0: two loops.
  const PathFunction lemniscate = [](long double t, long double& x, long double& y) {
    const long double c = std::cos(2 * t);
    if (c < 0) return false;
    x = std::sqrt(c) * std::cos(t);
    y = std::sqrt(c) * std::sin(t);
    return true;
  };
  const SampledPath loops = samplePath(v.mapping, v.pixels, -pi / 4, 7 * pi / 4, lemniscate);
  ASSERT_EQ(loops.pieces.size(), 2u);
  const long double cy = v.mapping.yToRow(0);
  for (const auto& piece : loops.pieces)
    for (const PathPoint& end : {piece.front(), piece.back()})
      EXPECT_LT(std::hypot(end.column - cx, end.row - cy), 1.0);
}

// What lies outside the view is not refined, and no formula takes more than the budget.
TEST(PathSampler, UnseenStretchesAndWildCurvesStayCheap) {
  const View v = squareView(600, 600, 3);
  const SampledPath far = samplePath(v.mapping, v.pixels, 0, 2 * pi, [](long double t, long double& x, long double& y) {
    x = 100 + std::cos(t);
    y = std::sin(t);
    return true;
  });
  EXPECT_EQ(far.evaluations, PathStartIntervals + 1 + PathStartIntervals);
  const SampledPath wild = samplePath(v.mapping, v.pixels, 0, 1e6, [](long double t, long double& x, long double& y) {
    x = 3 * std::sin(t * t);
    y = 3 * std::cos(1e3 * t);
    return true;
  }, 20000);
  EXPECT_LE(wild.evaluations, 20000 + PathStartIntervals + 1);
  EXPECT_GT(pointCount(wild), 1000u);
}

} // namespace
