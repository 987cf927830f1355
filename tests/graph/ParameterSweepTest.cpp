#include "ParameterSweep.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterSweep, GoesUpToMaxAndBackToMinOncePerPeriod) {
  const ParameterSweep sweep(-10.0, 10.0, -10.0, 4.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(0.0), -10.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.0), 0.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(2.0), 10.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(3.0), 0.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(4.0), -10.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(41.0), 0.0);
  for (double t = 0.0; t < 20.0; t += 0.37) {
    EXPECT_GE(sweep.valueAt(t), -10.0);
    EXPECT_LE(sweep.valueAt(t), 10.0);
  }
}

TEST(ParameterSweep, StartsFromTheValueItHadOnTheWayUp) {
  const ParameterSweep sweep(0.0, 8.0, 6.0, 4.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(0.0), 6.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(0.5), 8.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.0), 6.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.5), 4.0);
}

TEST(ParameterSweep, ANewPeriodGoesOnFromWhereTheSweepStands) {
  ParameterSweep sweep(0.0, 1.0, 0.0, 4.0);
  sweep.setPeriod(1.0, 1.0); // at 0.5, rising, a quarter of the way round
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.0), 0.5);
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.25), 1.0);
  EXPECT_DOUBLE_EQ(sweep.valueAt(1.75), 0.0);
}

} // namespace
