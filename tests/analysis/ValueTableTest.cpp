#include "ValueTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ValueTable, RowsFromTheStartInEqualSteps) {
  const TableSpan span{-3, 0.1, 61};
  ASSERT_TRUE(span.valid());
  // Each x from its row number: the last is -3 + 60 * 0.1, not sixty rounded additions.
  EXPECT_EQ(span.xAt(60), -3 + 60 * 0.1);
  const SampledFunction root = [](double x) -> std::optional<double> {
    if (x < 0) return std::nullopt;
    return std::sqrt(x);
  };
  const std::vector<std::optional<double>> values = tabulate({-1, 0.5, 5}, root);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_FALSE(values[0]);
  EXPECT_FALSE(values[1]);
  EXPECT_EQ(values[2], 0.0);
  EXPECT_EQ(values[4], 1.0);
}

TEST(ValueTable, SpansOutOfBoundsAreInvalid) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE((TableSpan{0, 1, TableSpan::MaxCount}.valid()));
  EXPECT_FALSE((TableSpan{0, 1, TableSpan::MaxCount + 1}.valid()));
  EXPECT_FALSE((TableSpan{0, 1, 0}.valid()));
  EXPECT_FALSE((TableSpan{nan, 1, 5}.valid()));
  EXPECT_FALSE((TableSpan{0, HUGE_VAL, 5}.valid()));
  EXPECT_FALSE((TableSpan{0, 1e308, 5}.valid()));
}

} // namespace
