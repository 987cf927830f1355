#include "TCalcSystem.h"
#include "EvalHelpers.h"
#include "EvalonStatus.h"
#include "TVarSystem.h"
#include "VirtualSlot.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// The application calls the operations by position in the object's table.
TEST(TCalcSystem, SlotOrderIsTheInterface) {
  using T = TCalcSystem;
  EXPECT_EQ(virtualSlot(&T::calcLongFormula), 0);
  EXPECT_EQ(virtualSlot(&T::calcDoubleFormula), 1);
  EXPECT_EQ(virtualSlot(&T::calcDoubleFormulaAs), 2);
  EXPECT_EQ(virtualSlot(&T::calcStringFormula), 3);
  EXPECT_EQ(virtualSlot(&T::GetLongValue), 4);
  EXPECT_EQ(virtualSlot(&T::GetFloatValue), 5);
  EXPECT_EQ(virtualSlot(&T::GetStringValue), 6);
  EXPECT_EQ(virtualSlot(&T::SetLongValue), 7);
  EXPECT_EQ(virtualSlot(&T::SetFloatValue), 8);
  EXPECT_EQ(virtualSlot(&T::SetStringValue), 9);
  EXPECT_EQ(virtualSlot(&T::Execute), 10);
  EXPECT_EQ(virtualSlot(&T::GetPrintFormat), 11);
  EXPECT_EQ(virtualSlot(&T::GetWriteFormat), 12);
  EXPECT_EQ(virtualSlot(&T::SetAutoCreate), 13);
  EXPECT_EQ(virtualSlot(&T::GetAutoCreate), 14);
  EXPECT_EQ(virtualSlot(&T::SetFloatFlag), 15);
  EXPECT_EQ(virtualSlot(&T::GetFloatFlag), 16);
}

// A call through the raw table reaches the operation of that slot.
TEST(TCalcSystem, RawTableCallReachesSetFloatValue) {
  TCalcSystem s;
  using SetFloat = int (*)(TCalcSystem*, const char*, double);
  void** table = *reinterpret_cast<void***>(&s);
  ASSERT_EQ(reinterpret_cast<SetFloat>(table[8])(&s, "x", 2.5), ev::Ok);
  EXPECT_EQ(doubleAsOf(s, "x*2").value, 5.0);
}

TEST(TCalcSystem, FlagsOfANewObject) {
  TCalcSystem s;
  EXPECT_TRUE(s.GetAutoCreate());
  EXPECT_FALSE(s.GetFloatFlag());
  s.SetAutoCreate(false);
  std::int32_t v = 99;
  EXPECT_EQ(s.GetLongValue("unset", v), ev::NoVariable);
  EXPECT_EQ(v, 99);
  TCalcSystem adopted(new TVarSystem);
  EXPECT_TRUE(adopted.GetAutoCreate());
}

TEST(TCalcSystem, ValueOperationsConvertThroughTheStore) {
  TCalcSystem s;
  ASSERT_EQ(s.SetFloatValue("x", 1.5), ev::Ok);
  EXPECT_EQ(doubleAsOf(s, "x*2").value, 3.0);
  std::int32_t n = 0;
  EXPECT_EQ(s.GetLongValue("x", n), ev::Ok);
  EXPECT_EQ(n, 1);
  // The operation, not the sigil, decides the kind of a new variable.
  EXPECT_EQ(s.SetLongValue("r#", 5), ev::Ok);
  double d = 0;
  EXPECT_EQ(s.GetFloatValue("r#", d), ev::Ok);
  EXPECT_EQ(d, 5.0);
  char text[256] = "keep";
  EXPECT_EQ(s.GetStringValue("x", text), ev::TypeMismatch);
  EXPECT_STREQ(text, "keep");
  EXPECT_EQ(s.SetStringValue("t$", "hello"), ev::Ok);
  EXPECT_EQ(s.GetStringValue(" t$", text), ev::Ok);
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(s.SetLongValue("2x", 1), ev::BadName);
  EXPECT_EQ(s.SetLongValue("", 1), ev::BadName);
}

TEST(TCalcSystem, SubscriptsAreEvaluatedAndChecked) {
  TCalcSystem s;
  EXPECT_EQ(s.SetLongValue("a[1+1]", 4), ev::Ok);
  std::int32_t v = -1;
  EXPECT_EQ(s.GetLongValue("a[2]", v), ev::Ok);
  EXPECT_EQ(v, 4);
  EXPECT_EQ(s.GetLongValue("a", v), ev::Ok);
  EXPECT_EQ(v, 0); // a different variable
  s.SetLongValue("i", 2);
  EXPECT_EQ(s.SetLongValue("m[i][i+1]", 23), ev::Ok);
  EXPECT_EQ(s.GetLongValue("m[2][3]", v), ev::Ok);
  EXPECT_EQ(v, 23);
  EXPECT_EQ(s.GetLongValue("m[a[2]-2][3]", v), ev::Ok); // nested reference
  EXPECT_EQ(v, 23);
  EXPECT_EQ(s.GetLongValue("m[[2]]", v), ev::IllegalCharacter);
}

TEST(TCalcSystem, ReferenceErrorsLeaveTheStoreAlone) {
  TVarSystem* store = new TVarSystem;
  TCalcSystem s(store);
  std::int32_t v = 77;
  EXPECT_EQ(s.GetLongValue("a[0]", v), ev::SubscriptRange);
  EXPECT_EQ(s.GetLongValue("a[-1]", v), ev::SubscriptRange);
  EXPECT_EQ(s.GetLongValue("a[1][2][3]", v), ev::TooManySubscripts);
  EXPECT_EQ(s.GetLongValue("a[1", v), ev::MissingCloseBracket);
  EXPECT_EQ(s.GetLongValue("a[1/0]", v), ev::DivisionByZero);
  EXPECT_EQ(v, 77);
  EXPECT_EQ(store->size(), 0);
  EXPECT_EQ(s.SetLongValue("a[1] [2]", 5), ev::TooManySubscripts);
  EXPECT_EQ(s.SetLongValue("a[1]x[2]", 5), ev::TooManySubscripts);
  EXPECT_EQ(store->size(), 0);
  EXPECT_EQ(s.SetLongValue("a[1] x", 5), ev::Ok); // trailing text is ignored
  EXPECT_EQ(s.GetLongValue("a[1]", v), ev::Ok);
  EXPECT_EQ(v, 5);
}

TEST(TCalcSystem, SigilBelongsToTheNameOnlyBeforeSubscripts) {
  TCalcSystem s;
  EXPECT_EQ(s.SetFloatValue("a#[1]", 2.5), ev::Ok);
  double d = 0;
  EXPECT_EQ(s.GetFloatValue("a#[1]", d), ev::Ok);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(s.SetLongValue("a[1]#", 7), ev::Ok); // element 1 of a
  std::int32_t v = 0;
  EXPECT_EQ(s.GetLongValue("a[1]", v), ev::Ok);
  EXPECT_EQ(v, 7);
}

TEST(TCalcSystem, OverlongTextsAreRefusedWithoutOverrun) {
  TCalcSystem s;
  const std::string longName(300, 'n');
  EXPECT_EQ(s.SetLongValue(longName.c_str(), 1), ev::TextTooLong);
  const std::string longSubscript = "a[" + std::string(300, '1') + "]";
  EXPECT_EQ(s.SetLongValue(longSubscript.c_str(), 1), ev::TextTooLong);
  EXPECT_EQ(s.SetStringValue("s$", std::string(256, 'x').c_str()), ev::TextTooLong);
  EXPECT_EQ(s.SetStringValue("s$", std::string(255, 'x').c_str()), ev::Ok);
  char text[256];
  EXPECT_EQ(s.GetStringValue("s$", text), ev::Ok);
  EXPECT_EQ(std::strlen(text), 255u);
  EXPECT_EQ(s.SetStringValue("s$", nullptr), ev::Ok); // a null text is empty
}

TEST(TCalcSystem, WithoutAStoreEveryCallSaysSo) {
  TCalcSystem s(nullptr);
  std::uint32_t err = 0;
  EXPECT_EQ(s.calcLongFormula("1", err), 0);
  EXPECT_EQ(err, 0xFFFFFFFFu);
  EXPECT_EQ(s.calcDoubleFormulaAs("1", err), 0.0);
  EXPECT_EQ(err, 0xFFFFFFFFu);
  EXPECT_EQ(s.SetLongValue("x", 1), ev::NoSystem);
  EXPECT_FALSE(s.GetAutoCreate());
  s.SetAutoCreate(true);
}

} // namespace
