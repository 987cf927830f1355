#include "ViewNavigation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A 336 x 316 client with the default margins: a plot of 316 x 286 pixels.
GraphMapping mappingOf(const GraphRange& range) {
  return GraphMapping(range, GraphMargins{}, 336, 316);
}

// Seven pixels for each character of the value as the axes write it, roughly the default font.
int sevenPerCharacter(long double v) {
  return 7 * static_cast<int>(std::to_string(static_cast<long long>(std::llround(v))).size());
}

// Where a graph x lands, in unrounded client pixels.
long double columnOf(const GraphMapping& m, long double x) {
  return (x - m.graphRange().xMin) * m.xScale() + m.plotLeft();
}
long double rowOf(const GraphMapping& m, long double y) {
  return (m.graphRange().yMax - y) * m.yScale() + m.plotTop();
}

} // namespace

TEST(ViewNavigation, AWheelNotchIsFourFifthsAndPartialTurnsArePowers) {
  EXPECT_NEAR(ViewNavigation::wheelFactor(120), 0.8L, 1e-15L);
  EXPECT_NEAR(ViewNavigation::wheelFactor(-120), 1.25L, 1e-15L);
  EXPECT_NEAR(ViewNavigation::wheelFactor(60), std::sqrt(0.8L), 1e-15L);
  EXPECT_NEAR(ViewNavigation::wheelFactor(-360), 1.25L * 1.25L * 1.25L, 1e-15L);
}

TEST(ViewNavigation, ZoomingKeepsThePointUnderThePointer) {
  const GraphMapping before = mappingOf(GraphRange{});
  for (const auto& [column, row] : {std::pair{100.0L, 80.0L}, {10.0L, 296.0L}, {333.5L, 2.25L}}) {
    const long double x = before.graphRange().xMin + (column - before.plotLeft()) / before.xScale();
    const long double y = before.graphRange().yMax - (row - before.plotTop()) / before.yScale();
    for (const long double factor : {0.8L, 1.25L}) {
      const GraphRange r = ViewNavigation(before).zoomed(column, row, factor, factor);
      const GraphMapping after = mappingOf(r);
      EXPECT_NEAR(r.xMax - r.xMin, 6 * factor, 1e-12L);
      EXPECT_NEAR(r.yMax - r.yMin, 6 * factor, 1e-12L);
      EXPECT_NEAR(columnOf(after, x), column, 1e-9L);
      EXPECT_NEAR(rowOf(after, y), row, 1e-9L);
    }
  }
  // A factor of 1 leaves its axis exactly as it was.
  const GraphRange onlyX = ViewNavigation(before).zoomed(100, 80, 0.8L, 1);
  EXPECT_EQ(onlyX.yMin, -3.0L);
  EXPECT_EQ(onlyX.yMax, 3.0L);
}

TEST(ViewNavigation, WidthsStayWithinTheirLimitsAndTheirDirection) {
  for (const GraphRange start : {GraphRange{}, GraphRange{3, -3, 5e6L, 4e6L}}) {
    GraphRange r = start;
    for (int n = 0; n < 400; ++n)
      r = ViewNavigation(mappingOf(r)).zoomed(300, 40, 0.8L, 0.8L);
    const long double centre = (r.xMin + r.xMax) / 2;
    EXPECT_GE(std::fabs(r.xMax - r.xMin), 0.999L * 1e-9L * std::max(1.0L, std::fabs(centre)));
    EXPECT_GE(std::fabs(r.yMax - r.yMin), 0.999L * 1e-9L * std::fabs((r.yMin + r.yMax) / 2));
    EXPECT_EQ(r.xMax > r.xMin, start.xMax > start.xMin);
    EXPECT_EQ(r.yMax > r.yMin, start.yMax > start.yMin);
    for (int n = 0; n < 800; ++n)
      r = ViewNavigation(mappingOf(r)).zoomed(300, 40, 1.25L, 1.25L);
    EXPECT_TRUE(std::isfinite(r.xMin) && std::isfinite(r.xMax));
    EXPECT_LE(std::fabs(r.xMax - r.xMin), 1e12L);
    EXPECT_GT(std::fabs(r.xMax - r.xMin), 0.99e12L);
    EXPECT_EQ(r.xMax > r.xMin, start.xMax > start.xMin);
    EXPECT_EQ(r.yMax > r.yMin, start.yMax > start.yMin);
  }
  // A range typed wider than the limit does not grow, nor does zooming out shrink it.
  const GraphRange wide{-1e15L, 1e15L, -1, 1};
  EXPECT_EQ(ViewNavigation(mappingOf(wide)).zoomed(100, 100, 1.25L, 1).xMax, 1e15L);
  // An empty range opens around the pointer instead of staying empty.
  const GraphRange empty = ViewNavigation(mappingOf({2, 2, -3, 3})).zoomed(100, 100, 1.25L, 1);
  EXPECT_LT(empty.xMin, empty.xMax);
}

TEST(ViewNavigation, PanningMovesByWholePixelsWorthAndNeverStoresInfinity) {
  const GraphMapping m = mappingOf(GraphRange{});
  const GraphRange r = ViewNavigation(m).panned(30, -20);
  EXPECT_EQ(r.xMin, -3.0L - 30 / m.xScale());
  EXPECT_EQ(r.xMax, 3.0L - 30 / m.xScale());
  EXPECT_EQ(r.yMin, -3.0L - 20 / m.yScale());
  EXPECT_EQ(r.yMax, 3.0L - 20 / m.yScale());
  // So wide that its scale is nothing and any move is infinite.
  const GraphRange huge{-1.1e4932L, 1.1e4932L, -1, 1};
  EXPECT_EQ(ViewNavigation(mappingOf(huge)).panned(-300, 0).xMax, 1.1e4932L);
}

TEST(ViewNavigation, TheTickPeriodIsOneTwoOrFiveAndLeavesRoomForTheValues) {
  // -10..10 over 316 and over 1900 pixels.
  EXPECT_EQ(ViewNavigation::fittedPeriod(-10, 10, 316, 1, sevenPerCharacter), 5.0L);
  EXPECT_EQ(ViewNavigation::fittedPeriod(-10, 10, 1900, 1, sevenPerCharacter), 1.0L);
  // Values wider than 60 pixels push the ticks farther apart.
  const auto wide = [](long double) { return 90; };
  const long double period = ViewNavigation::fittedPeriod(0, 100, 316, 1, wide);
  EXPECT_GE(ViewNavigation::spacing(100, 316, period), 94);
  for (const long double span : {1e-7L, 0.64L, 6.0L, 3e9L}) {
    const long double p = ViewNavigation::fittedPeriod(0, span, 316, 1, sevenPerCharacter);
    const long double mantissa = p / std::pow(10.0L, std::floor(std::log10(p)));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9L || std::fabs(mantissa - 2) < 1e-9L ||
                std::fabs(mantissa - 5) < 1e-9L)
        << static_cast<double>(p);
    EXPECT_GE(ViewNavigation::spacing(span, 316, p), 60 - 1e-9L);
    EXPECT_LT(ViewNavigation::spacing(span, 316, p), 150);
  }
  // Nothing to choose from: the period stays.
  EXPECT_EQ(ViewNavigation::fittedPeriod(2, 2, 316, 0.5L, sevenPerCharacter), 0.5L);
  EXPECT_EQ(ViewNavigation::fittedPeriod(-1, 1, 0, 0.5L, sevenPerCharacter), 0.5L);
}

TEST(ViewNavigation, APeriodIsUnfitWhenValuesCrowdOrTicksLieFarApart) {
  EXPECT_FALSE(ViewNavigation::periodUnfit(-3, 3, 316, 1, sevenPerCharacter));  // 53 px
  EXPECT_TRUE(ViewNavigation::periodUnfit(-10, 10, 316, 1, sevenPerCharacter)); // 16 < 25
  EXPECT_TRUE(ViewNavigation::periodUnfit(-1, 1, 316, 2, sevenPerCharacter));   // 316 > 200
  EXPECT_TRUE(ViewNavigation::periodUnfit(-1e9L, 1e9L, 316, 1, sevenPerCharacter));
  EXPECT_FALSE(ViewNavigation::periodUnfit(3, -3, 316, 1, sevenPerCharacter));
}
