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
