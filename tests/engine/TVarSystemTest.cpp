#include "TVarSystem.h"

#include "EvalonStatus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string textOf(const TVarSystem& store, const char* name, std::uint32_t i = 0,
                   std::uint32_t j = 0) {
  char buffer[256] = "untouched";
  store.GetValue(name, buffer, i, j);
  return buffer;
}

TEST(TruncateToLong, TruncatesTowardZeroAndKeepsTheLow32BitsOfEveryDouble) {
  EXPECT_EQ(truncateToLong(2.9), 2);
  EXPECT_EQ(truncateToLong(-2.9), -2);
  EXPECT_EQ(truncateToLong(2147483648.0), -2147483647 - 1);
  EXPECT_EQ(truncateToLong(4294967297.0), 1);
  EXPECT_EQ(truncateToLong(-2147483649.0), 2147483647);
  EXPECT_EQ(truncateToLong(9223372036854774784.0), -1024); // largest double below 2^63
  EXPECT_EQ(truncateToLong(9223372036854775808.0), 0);
  EXPECT_EQ(truncateToLong(-9223372036854775808.0), 0);
  EXPECT_EQ(truncateToLong(1e300), 0);
  EXPECT_EQ(truncateToLong(-1e300), 0);
  EXPECT_EQ(truncateToLong(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(truncateToLong(-std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(truncateToLong(std::nan("")), 0);
}

TEST(VarSystem, AutoCreatedReadMakesTheKindAskedForWithItsZero) {
  TVarSystem store;
  std::int32_t l = 7;
  EXPECT_EQ(store.GetValue("x", l, 0, 0), ev::Ok);
  EXPECT_EQ(l, 0);
  ASSERT_EQ(store.size(), 1);
  EXPECT_EQ(store.at(0).who(), 'L');
  EXPECT_EQ(store.at(0).getName(), "x");
  EXPECT_EQ(store.SetValue("x", 2.9, 0, 0), ev::Ok);
  EXPECT_EQ((store.GetValue("x", l, 0, 0), l), 2);
  EXPECT_EQ(store.SetValue("x", -2.9, 0, 0), ev::Ok);
  EXPECT_EQ((store.GetValue("x", l, 0, 0), l), -2);

  double d = 7.0;
  EXPECT_EQ(store.GetValue("d", d, 0, 0), ev::Ok);
  EXPECT_EQ(d, 0.0);
  EXPECT_EQ(store.at(store.search("d", 0, 0)).who(), 'F');
  EXPECT_EQ(textOf(store, "s"), "");
  EXPECT_EQ(store.at(store.search("s", 0, 0)).who(), 'S');

  EXPECT_EQ(store.SetValue("h", 1.5, 0, 0), ev::Ok);
  EXPECT_EQ(store.at(store.search("h", 0, 0)).who(), 'F');
  EXPECT_EQ(store.GetValue("h", l, 0, 0), ev::Ok);
  EXPECT_EQ(l, 1);
}

TEST(VarSystem, ConvertsOrRefusesPerKindAndKeepsTheValueOnRefusal) {
  TVarSystem store;
  std::int32_t l = 0;
  double d = 0.0;
  store.SetValue("n", std::int32_t{5}, 0, 0);
  EXPECT_EQ(store.SetValue("n", "text", 0, 0), ev::TypeMismatch);
  EXPECT_EQ((store.GetValue("n", l, 0, 0), l), 5);
  EXPECT_EQ(store.GetValue("n", d, 0, 0), ev::Ok);
  EXPECT_EQ(d, 5.0);
  EXPECT_EQ(textOf(store, "n"), "untouched");

  store.SetValue("f", 0.5, 0, 0);
  EXPECT_EQ(store.SetValue("f", std::int32_t{-2147483647 - 1}, 0, 0), ev::Ok);
  EXPECT_EQ((store.GetValue("f", d, 0, 0), d), -2147483648.0);
  EXPECT_EQ(store.SetValue("f", "text", 0, 0), ev::TypeMismatch);
  EXPECT_EQ(store.SetValue("f", 4294967297.5, 0, 0), ev::Ok);
  EXPECT_EQ(store.GetValue("f", l, 0, 0), ev::Ok);
  EXPECT_EQ(l, 1);
  EXPECT_EQ(textOf(store, "f"), "untouched");

  store.SetValue("s", "abc", 0, 0);
  EXPECT_EQ(store.SetValue("s", std::int32_t{1}, 0, 0), ev::TypeMismatch);
  EXPECT_EQ(store.SetValue("s", 1.0, 0, 0), ev::TypeMismatch);
  EXPECT_EQ(textOf(store, "s"), "abc");
  l = 9;
  d = 9.0;
  EXPECT_EQ(store.GetValue("s", l, 0, 0), ev::TypeMismatch);
  EXPECT_EQ(store.GetValue("s", d, 0, 0), ev::TypeMismatch);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(d, 0.0);
  // A null text is the empty text, both for a new variable and for an existing one.
  EXPECT_EQ(store.SetValue("s", static_cast<const char*>(nullptr), 0, 0), ev::Ok);
  EXPECT_EQ(textOf(store, "s"), "");
  EXPECT_EQ(store.SetValue("t", static_cast<const char*>(nullptr), 0, 0), ev::Ok);
  EXPECT_EQ(textOf(store, "t"), "");
}

TEST(VarSystem, KeepsIdentitiesApartAndInUnsignedByteOrder) {
  TVarSystem store;
  struct Entry {
    const char* name;
    std::uint32_t i, j;
  };
  // The expected order: upper case first, a name before longer ones it begins, subscripts
  // in order, and 0x80 after every ASCII byte.
  const Entry sorted[] = {{"B", 0, 0},      {"X", 0, 0},  {"a", 0, 0},           {"a", 1, 0},
                          {"a", 1, 1},      {"a", 2, 0},  {"a", 4294967295u, 0}, {"a[z", 0, 0},
                          {"a[\x80", 0, 0}, {"ab", 0, 0}, {"b", 0, 0},           {"x", 0, 0}};
  const int count = static_cast<int>(std::size(sorted));
  for (int k : {5, 11, 0, 3, 9, 7, 1, 10, 4, 2, 8, 6})
    ASSERT_EQ(store.SetValue(sorted[k].name, std::int32_t{k}, sorted[k].i, sorted[k].j), ev::Ok);
  ASSERT_EQ(store.size(), count);
  for (int k = 0; k < count; ++k) {
    const variable& v = store.at(k);
    EXPECT_EQ(v.getName(), sorted[k].name) << k;
    EXPECT_EQ(v.getFirst(), sorted[k].i) << k;
    EXPECT_EQ(v.getSecond(), sorted[k].j) << k;
    EXPECT_EQ(store.search(sorted[k].name, sorted[k].i, sorted[k].j), k);
    std::int32_t l = -1;
    store.GetValue(sorted[k].name, l, sorted[k].i, sorted[k].j);
    EXPECT_EQ(l, k) << "a write changed another variable";
  }
  EXPECT_EQ(store.search("A", 0, 0), TVarSystem::NotFound);
  EXPECT_EQ(store.search("a", 0, 1), TVarSystem::NotFound);
  EXPECT_EQ(store.search("zz", 0, 0), TVarSystem::NotFound);
  EXPECT_EQ(store.search(nullptr, 0, 0), TVarSystem::NotFound);

  EXPECT_TRUE(longVariable("a", 1, 2, 3) == doubleVariable("a", 0.5, 2, 3));
  EXPECT_FALSE(longVariable("a", 1, 2, 3) == longVariable("a", 1, 2, 4));
  EXPECT_FALSE(longVariable("a", 1, 2, 3) == longVariable("A", 1, 2, 3));
  EXPECT_TRUE(stringVariable("ab", "", 0, 0) < stringVariable("ab\xff", "", 0, 0));
  EXPECT_FALSE(longVariable("a", 0, 1, 1) < longVariable("a", 0, 1, 1));
}

TEST(VarSystem, AppliesTheNameRule) {
  for (const char* bad : {"", "1a", "_a", "$a", "#a", "a b", "a+b", "a\x80", "\x80", "a-["})
    EXPECT_FALSE(checkVarName(bad)) << bad;
  EXPECT_FALSE(checkVarName(nullptr));
  for (const char* good : {"@x", "x_1#", "a$", "Z9", "@", "a[ anything +\x80", "b["})
    EXPECT_TRUE(checkVarName(good)) << good;

  TVarSystem store;
  std::int32_t l = 7;
  EXPECT_EQ(store.GetValue("1a", l, 0, 0), ev::BadName);
  EXPECT_EQ(l, 7);
  EXPECT_EQ(store.SetValue("a b", 1.0, 0, 0), ev::BadName);
  EXPECT_EQ(store.DefineValue(nullptr, "t", 0, 0), ev::BadName);
  EXPECT_EQ(store.size(), 0);
}

TEST(VarSystem, WithoutAutoCreateOnlyExistingVariablesAreUsed) {
  TVarSystem store;
  EXPECT_TRUE(store.GetAutoCreate());
  store.SetValue("a", std::int32_t{4}, 0, 0);
  store.SetAutoCreate(false);
  EXPECT_FALSE(store.GetAutoCreate());

  double d = 7.0;
  EXPECT_EQ(store.GetValue("b", d, 0, 0), ev::NoVariable);
  EXPECT_EQ(d, 7.0);
  EXPECT_EQ(textOf(store, "a", 1, 0), "untouched");
  EXPECT_EQ(store.SetValue("b", 1.0, 0, 0), ev::NoVariable);
  EXPECT_EQ(store.DefineValue("c", "t", 0, 0), ev::NoVariable);
  EXPECT_EQ(store.size(), 1);

  EXPECT_EQ(store.SetValue("a", 6.5, 0, 0), ev::Ok);
  EXPECT_EQ(store.GetValue("a", d, 0, 0), ev::Ok);
  EXPECT_EQ(d, 6.0);
}

TEST(VarSystem, ResetEmptiesTheStoreAndKeepsAutoCreate) {
  TVarSystem store;
  store.SetValue("v", 5.5, 0, 0);
  store.SetValue("w", "t", 1, 0);
  store.SetAutoCreate(false);
  store.resetVarSystem();
  EXPECT_EQ(store.size(), 0);
  EXPECT_FALSE(store.GetAutoCreate());

  store.SetAutoCreate(true);
  store.resetVarSystem();
  EXPECT_TRUE(store.GetAutoCreate());
  EXPECT_EQ(textOf(store, "v"), "");
  ASSERT_EQ(store.size(), 1);
  EXPECT_EQ(store.at(0).who(), 'S');
}

TEST(VarSystem, DefineValueNeverRecreatesNorChangesTheKind) {
  TVarSystem store;
  EXPECT_EQ(store.DefineValue("n", std::int32_t{7}, 0, 0), ev::Ok);
  EXPECT_EQ(store.DefineValue("n", 2.9, 0, 0), ev::Ok);
  EXPECT_EQ(store.DefineValue("n", "t", 0, 0), ev::TypeMismatch);
  ASSERT_EQ(store.size(), 1);
  EXPECT_EQ(store.at(0).who(), 'L');
  std::int32_t l = 0;
  EXPECT_EQ((store.GetValue("n", l, 0, 0), l), 2);
}

} // namespace
