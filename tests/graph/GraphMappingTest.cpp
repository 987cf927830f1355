#include "GraphMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

// The defaults on a 336 x 316 control.
TEST(GraphMapping, DefaultsOnTheReferenceControl) {
  const GraphMapping m(GraphRange{}, GraphMargins{}, 336, 316);
  EXPECT_EQ(m.xScale(), 316.0L / 6.0L);
  EXPECT_EQ(m.yScale(), 286.0L / 6.0L);
  EXPECT_EQ(m.originX(), 168);
  EXPECT_EQ(m.originY(), 153);
  EXPECT_EQ(m.plotRight(), 326);
  EXPECT_EQ(m.plotBottom(), 296);
  // The range ends fall on the plot edges, which belong to the plot.
  EXPECT_EQ(m.xToPixel(-3.0L), 10);
  EXPECT_EQ(m.xToPixel(3.0L), 326);
  EXPECT_EQ(m.yToPixel(3.0L), 10);
  EXPECT_EQ(m.yToPixel(-3.0L), 296);
  EXPECT_EQ(m.pixelToX(168), 0.0L);
  EXPECT_EQ(m.pixelToY(10), 3.0L);
  EXPECT_EQ(m.pixelToX(10), -3.0L);
}

TEST(GraphMapping, HalvesRoundToTheEvenPixel) {
  const GraphMapping m(GraphRange{0.0L, 10.0L, 0.0L, 10.0L}, GraphMargins{5, 5, 5, 5}, 20, 20);
  EXPECT_EQ(m.xToPixel(0.5L), 5);
  EXPECT_EQ(m.xToPixel(1.5L), 7);
  EXPECT_EQ(m.xToPixel(2.5L), 7);
  EXPECT_EQ(m.xToPixel(2.5001L), 8);
  EXPECT_EQ(m.yToPixel(9.5L), 5); // 0.5 below the top
  EXPECT_EQ(m.yToPixel(8.5L), 7); // 1.5
  EXPECT_EQ(GraphMapping::nearestPixel(-2.5L), -2);
  EXPECT_EQ(GraphMapping::nearestPixel(-3.5L), -4);
}

TEST(GraphMapping, AnEmptySpanHasScaleOne) {
  const GraphMapping m(GraphRange{2.0L, 2.0L, -1.0L, -1.0L}, GraphMargins{}, 336, 316);
  EXPECT_EQ(m.xScale(), 1.0L);
  EXPECT_EQ(m.yScale(), 1.0L);
  EXPECT_EQ(m.xToPixel(2.0L), 10);
  EXPECT_EQ(m.xToPixel(3.0L), 11);
}

// Samples far outside the range, infinite or NaN give pixels far outside the plot and never
// an undefined conversion.
TEST(GraphMapping, PixelsBeyondThirtyTwoBitsSaturate) {
  const GraphMapping m(GraphRange{}, GraphMargins{}, 336, 316);
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_EQ(m.xToPixel(1e30L), Highest);
  EXPECT_EQ(m.xToPixel(-1e30L), Lowest);
  EXPECT_EQ(m.yToPixel(-inf), Highest);
  EXPECT_EQ(m.yToPixel(inf), Lowest);
  EXPECT_EQ(m.xToPixel(nan), Lowest);
  EXPECT_EQ(m.yToPixel(nan), Lowest);
  EXPECT_TRUE(std::isfinite(m.pixelToX(Highest)));
  EXPECT_TRUE(std::isfinite(m.pixelToY(Lowest)));
}

TEST(GraphMapping, InGraphRangeIncludesTheBoundsAndRefusesNaN) {
  const GraphMapping m(GraphRange{}, GraphMargins{}, 336, 316);
  EXPECT_TRUE(m.inGraphRange(-3.0L, 3.0L));
  EXPECT_TRUE(m.inGraphRange(3.0L, -3.0L));
  EXPECT_FALSE(m.inGraphRange(3.0001L, 0.0L));
  EXPECT_FALSE(m.inGraphRange(0.0L, -3.0001L));
  EXPECT_FALSE(m.inGraphRange(std::nanl(""), 0.0L));
  EXPECT_FALSE(m.inGraphRange(0.0L, std::nanl("")));
}

} // namespace
