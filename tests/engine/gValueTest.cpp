// Tests of gValue: promotion, range and zero tests, domain checks, degree
// conversions, read-out limits and the decided faults.
#include "gValue.h"

#include "EvalonStatus.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t IntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t IntMax = std::numeric_limits<std::int32_t>::max();
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

using BinaryOp = int (gValue::*)(const gValue);
using UnaryOp = int (gValue::*)();

std::int32_t longOf(const gValue& v) {
  std::int32_t out = 0;
  EXPECT_EQ(v.getValue(out), ev::Ok);
  return out;
}

double doubleOf(const gValue& v) {
  EXPECT_EQ(v.getType(), gValue::Double);
  double out = 0.0;
  EXPECT_EQ(v.getValue(out), ev::Ok);
  return out;
}

std::string textOf(const gValue& v) {
  char out[256];
  EXPECT_EQ(v.getValue(out), ev::Ok);
  return out;
}

// Applies a two-operand operation and returns the status; the result is in left.
int apply(BinaryOp op, gValue& left, const gValue& right) {
  return (left.*op)(right);
}

// The value after a two-operand operation that must succeed.
gValue result(BinaryOp op, gValue left, const gValue& right) {
  EXPECT_EQ((left.*op)(right), ev::Ok);
  return left;
}

gValue result(UnaryOp op, gValue value) {
  EXPECT_EQ((value.*op)(), ev::Ok);
  return value;
}

int status(BinaryOp op, gValue left, const gValue& right) {
  return (left.*op)(right);
}
int status(UnaryOp op, gValue value) {
  return (value.*op)();
}

// The degree conversions written out with two separately rounded products.
double twoStep(double x, double first, double second) {
  const volatile double t = x * first;
  return t * second;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Construction, access and the tag

TEST(gValueAccess, ConstructorsSetTheTag) {
  EXPECT_EQ(gValue().getType(), gValue::Empty);
  EXPECT_EQ(gValue(7).getType(), gValue::Long);
  EXPECT_EQ(gValue(7.0).getType(), gValue::Double);
  EXPECT_EQ(gValue("7").getType(), gValue::String);
  EXPECT_EQ(textOf(gValue("abc")), "abc");
}

TEST(gValueAccess, SetValueChangesTheTag) {
  gValue v;
  v.setValue(std::int32_t{5});
  EXPECT_EQ(v, gValue(5));
  v.setValue(2.5);
  EXPECT_EQ(v, gValue(2.5));
  v.setValue("xy");
  EXPECT_EQ(v, gValue("xy"));
  v.setValue(std::int32_t{-3});
  EXPECT_EQ(v, gValue(-3)); // the old text is not read any more
}

TEST(gValueAccess, NullTextIsTheEmptyText) {
  const gValue constructed(static_cast<const char*>(nullptr));
  EXPECT_EQ(constructed.getType(), gValue::String);
  EXPECT_EQ(textOf(constructed), "");
  gValue set(1);
  set.setValue(static_cast<const char*>(nullptr));
  EXPECT_EQ(set, gValue(""));
}

TEST(gValueAccess, CopiesDoNotShareTheText) {
  gValue original("abc");
  gValue copy = original;
  ASSERT_EQ(copy.execPLUS(gValue("def")), ev::Ok);
  EXPECT_EQ(textOf(original), "abc");
  EXPECT_EQ(textOf(copy), "abcdef");
}

TEST(gValueAccess, GetLongOfEachTag) {
  std::int32_t out = 99;
  EXPECT_EQ(gValue(-12).getValue(out), ev::Ok);
  EXPECT_EQ(out, -12);
  out = 99;
  EXPECT_EQ(gValue("12").getValue(out), ev::TypeMismatch);
  EXPECT_EQ(out, 0);
  out = 99;
  EXPECT_EQ(gValue().getValue(out), ev::TypeMismatch);
  EXPECT_EQ(out, 0);
}

TEST(gValueAccess, GetLongOfADoubleTruncatesTowardZero) {
  EXPECT_EQ(longOf(gValue(3.99)), 3);
  EXPECT_EQ(longOf(gValue(-3.99)), -3);
  EXPECT_EQ(longOf(gValue(-0.0)), 0);
  EXPECT_EQ(longOf(gValue(2147483647.0)), IntMax);
  EXPECT_EQ(longOf(gValue(-2147483648.0)), IntMin);
  EXPECT_EQ(longOf(gValue(-2147483647.9)), -2147483647);
}

TEST(gValueAccess, GetLongOutsideTheRangeLeavesTheOutputUntouched) {
  for (double d : {3.0e9, -3.0e9, 2147483647.5, 2147483648.0, -2147483648.5, Inf, -Inf}) {
    std::int32_t out = 42;
    EXPECT_EQ(gValue(d).getValue(out), ev::OutOfLongRange) << d;
    EXPECT_EQ(out, 42) << d;
  }
}

TEST(gValueAccess, GetDoubleOfEachTag) {
  double out = 9.0;
  EXPECT_EQ(gValue(IntMin).getValue(out), ev::Ok);
  EXPECT_EQ(out, -2147483648.0);
  EXPECT_EQ(gValue(0.25).getValue(out), ev::Ok);
  EXPECT_EQ(out, 0.25);
  out = 9.0;
  EXPECT_EQ(gValue("1").getValue(out), ev::TypeMismatch);
  EXPECT_EQ(out, 0.0);
  out = 9.0;
  EXPECT_EQ(gValue().getValue(out), ev::TypeMismatch);
  EXPECT_EQ(out, 0.0);
}

TEST(gValueAccess, GetTextCopiesAtMost254Characters) {
  const std::string text254(254, 'a');
  const std::string text255(255, 'b');
  char out[256];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(gValue(text254.c_str()).getValue(out), ev::Ok);
  EXPECT_EQ(std::string(out), text254);
  EXPECT_EQ(out[255], 'x'); // the terminator is byte 254; nothing beyond it is written

  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(gValue(text255.c_str()).getValue(out), ev::TextTooLong);
  EXPECT_EQ(out[0], 'x'); // untouched
}

TEST(gValueAccess, GetTextOfANumberIsRefused) {
  char out[256] = "keep";
  EXPECT_EQ(gValue(5).getValue(out), ev::TypeMismatch);
  EXPECT_EQ(gValue(5.0).getValue(out), ev::TypeMismatch);
  EXPECT_EQ(gValue().getValue(out), ev::TypeMismatch);
  EXPECT_STREQ(out, "keep"); // no conversion to text
}

TEST(gValueAccess, ConcatenationHasNoLimitButReadOutHas) {
  gValue v(std::string(200, 'a').c_str());
  ASSERT_EQ(v.execPLUS(gValue(std::string(100, 'b').c_str())), ev::Ok);
  char out[256];
  EXPECT_EQ(v.getValue(out), ev::TextTooLong);
  EXPECT_EQ(v, gValue((std::string(200, 'a') + std::string(100, 'b')).c_str()));
}

// ---------------------------------------------------------------------------------------
// The long / double / string matrix of every two-operand operation

namespace {

enum Kind { EmptyKind, LongKind, DoubleKind, StringKind };

gValue sample(Kind k) {
  switch (k) {
  case LongKind:
    return gValue(6);
  case DoubleKind:
    return gValue(1.5);
  case StringKind:
    return gValue("ab");
  default:
    return gValue();
  }
}

// The expected outcome of one pair: status and, on success, the tag of the result.
struct Outcome {
  int status;
  int tag;
};

constexpr Outcome Refused{ev::TypeMismatch, -1};
constexpr Outcome AsLong{ev::Ok, gValue::Long};
constexpr Outcome AsDouble{ev::Ok, gValue::Double};
constexpr Outcome AsString{ev::Ok, gValue::String};

struct MatrixRow {
  const char* name;
  BinaryOp op;
  Outcome longLong, withDouble, stringString; // every other pair is refused
};

const std::array<MatrixRow, 14> Matrix{{
    {"OR", &gValue::execOR, AsLong, Refused, Refused},
    {"AND", &gValue::execAND, AsLong, Refused, Refused},
    {"EQUAL", &gValue::execEQUAL, AsLong, AsLong, AsLong},
    {"NOTEQ", &gValue::execNOTEQ, AsLong, AsLong, AsLong},
    {"SMALL", &gValue::execSMALL, AsLong, AsLong, AsLong},
    {"SMALLEQ", &gValue::execSMALLEQ, AsLong, AsLong, AsLong},
    {"LARGE", &gValue::execLARGE, AsLong, AsLong, AsLong},
    {"LARGEEQ", &gValue::execLARGEEQ, AsLong, AsLong, AsLong},
    {"PLUS", &gValue::execPLUS, AsLong, AsDouble, AsString},
    {"MINUS", &gValue::execMINUS, AsLong, AsDouble, Refused},
    {"TIMES", &gValue::execTIMES, AsLong, AsDouble, Refused},
    {"DIVID", &gValue::execDIVID, AsLong, AsDouble, Refused},
    {"MOD", &gValue::execMOD, AsLong, Refused, Refused},
    {"POWER", &gValue::execPOWER, AsDouble, AsDouble, Refused},
}};

Outcome expected(const MatrixRow& row, Kind l, Kind r) {
  const bool lNum = l == LongKind || l == DoubleKind;
  const bool rNum = r == LongKind || r == DoubleKind;
  if (l == LongKind && r == LongKind) return row.longLong;
  if (lNum && rNum) return row.withDouble;
  if (l == StringKind && r == StringKind) return row.stringString;
  return Refused;
}

} // namespace

TEST(gValueMatrix, EveryPairOfEveryTwoOperandOperation) {
  const Kind kinds[] = {EmptyKind, LongKind, DoubleKind, StringKind};
  for (const MatrixRow& row : Matrix)
    for (Kind l : kinds)
      for (Kind r : kinds) {
        gValue left = sample(l);
        const Outcome want = expected(row, l, r);
        EXPECT_EQ(apply(row.op, left, sample(r)), want.status)
            << row.name << " kinds " << l << ", " << r;
        if (want.status == ev::Ok) {
          EXPECT_EQ(left.getType(), want.tag) << row.name << " kinds " << l << ", " << r;
        }
      }
}

TEST(gValuePromotion, MixedNumbersBecomeDoubles) {
  EXPECT_EQ(result(&gValue::execPLUS, gValue(2147483647.0), gValue(1)), gValue(2147483648.0));
  EXPECT_EQ(result(&gValue::execMINUS, gValue(1), gValue(0.5)), gValue(0.5));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(3), gValue(0.5)), gValue(1.5));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(2.0), gValue(2.0)), gValue(4.0));
}

TEST(gValuePromotion, DivisionOfLongsTruncatesAndOfDoublesDoesNot) {
  EXPECT_EQ(result(&gValue::execDIVID, gValue(7), gValue(2)), gValue(3));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(-7), gValue(2)), gValue(-3));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(7), gValue(-2)), gValue(-3));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(7), gValue(2.0)), gValue(3.5));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(7.0), gValue(2)), gValue(3.5));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(1.0), gValue(4.0)), gValue(0.25));
}

TEST(gValuePromotion, PowerIsAlwaysADouble) {
  EXPECT_EQ(result(&gValue::execPOWER, gValue(2), gValue(3)), gValue(8.0));
  EXPECT_EQ(result(&gValue::execPOWER, gValue(2), gValue(0.5)), gValue(1.4142135623730951));
  // No check of its own: the platform's results with status 0.
  EXPECT_TRUE(std::isnan(doubleOf(result(&gValue::execPOWER, gValue(-8.0), gValue(0.5)))));
  EXPECT_EQ(doubleOf(result(&gValue::execPOWER, gValue(0), gValue(-1))), Inf);
  EXPECT_EQ(doubleOf(result(&gValue::execPOWER, gValue(10.0), gValue(400))), Inf);
}

TEST(gValuePromotion, StringsConcatenateButDoNotSubtract) {
  EXPECT_EQ(result(&gValue::execPLUS, gValue("ab"), gValue("cd")), gValue("abcd"));
  EXPECT_EQ(result(&gValue::execPLUS, gValue(""), gValue("")), gValue(""));
  EXPECT_EQ(status(&gValue::execMINUS, gValue("ab"), gValue("cd")), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execPLUS, gValue("ab"), gValue(1)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execPLUS, gValue(1.0), gValue("ab")), ev::TypeMismatch);
}

// ---------------------------------------------------------------------------------------
// Range test of long "+", "-", "*"

TEST(gValueRange, LongResultsOutsideTheRangeGiveStatus5) {
  struct Case {
    BinaryOp op;
    std::int32_t l, r;
  };
  const Case cases[] = {
      {&gValue::execPLUS, IntMax, 1},        {&gValue::execPLUS, IntMin, -1},
      {&gValue::execPLUS, IntMax, IntMax},   {&gValue::execPLUS, IntMin, IntMin},
      {&gValue::execMINUS, IntMin, 1},       {&gValue::execMINUS, IntMax, -1},
      {&gValue::execMINUS, 0, IntMin},       {&gValue::execMINUS, IntMax, IntMin},
      {&gValue::execTIMES, 65536, 32768},    {&gValue::execTIMES, IntMin, -1},
      {&gValue::execTIMES, 46341, 46341},    {&gValue::execTIMES, IntMin, IntMin},
      {&gValue::execTIMES, IntMax, -IntMax}, {&gValue::execTIMES, -65536, -32768},
  };
  for (const Case& c : cases) {
    gValue v(c.l);
    EXPECT_EQ((v.*c.op)(gValue(c.r)), ev::OutOfLongRange) << c.l << " " << c.r;
    EXPECT_EQ(v.getType(), gValue::Long); // the tag stays 1
    EXPECT_EQ(longOf(v), 0);              // and the long value becomes 0
  }
}

TEST(gValueRange, LongResultsAtTheLimitsAreExact) {
  EXPECT_EQ(result(&gValue::execPLUS, gValue(IntMax - 1), gValue(1)), gValue(IntMax));
  EXPECT_EQ(result(&gValue::execPLUS, gValue(IntMin), gValue(IntMax)), gValue(-1));
  EXPECT_EQ(result(&gValue::execPLUS, gValue(IntMin + 1), gValue(-1)), gValue(IntMin));
  EXPECT_EQ(result(&gValue::execMINUS, gValue(-1), gValue(IntMax)), gValue(IntMin));
  EXPECT_EQ(result(&gValue::execMINUS, gValue(-1), gValue(IntMin)), gValue(IntMax));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(65536), gValue(-32768)), gValue(IntMin));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(46340), gValue(46340)), gValue(2147395600));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(IntMax), gValue(-1)), gValue(-IntMax));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(IntMin), gValue(1)), gValue(IntMin));
}

TEST(gValueRange, DoublesHaveNoRangeTest) {
  EXPECT_EQ(result(&gValue::execPLUS, gValue(2147483647.0), gValue(1)), gValue(2147483648.0));
  EXPECT_EQ(result(&gValue::execTIMES, gValue(1e308), gValue(10)), gValue(Inf));
}

// ---------------------------------------------------------------------------------------
// Division and remainder: the zero tests and the sign rules

TEST(gValueDivision, ZeroTestComesBeforeTheTypeTest) {
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7), gValue(0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(0), gValue(0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7.5), gValue(0.0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7.5), gValue(-0.0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7), gValue(0.0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue("s"), gValue(0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue("s"), gValue(-0.0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(), gValue(0)), ev::DivisionByZero);
  // Only then the types.
  EXPECT_EQ(status(&gValue::execDIVID, gValue("s"), gValue(1)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7), gValue("")), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execDIVID, gValue(7), gValue()), ev::TypeMismatch);
}

TEST(gValueDivision, ATinyDivisorIsNotZero) {
  EXPECT_EQ(result(&gValue::execDIVID, gValue(1.0), gValue(1e-320)), gValue(Inf));
}

TEST(gValueDivision, RemainderTestsTheTypesBeforeZero) {
  EXPECT_EQ(status(&gValue::execMOD, gValue(7), gValue(0)), ev::DivisionByZero);
  EXPECT_EQ(status(&gValue::execMOD, gValue(7.0), gValue(2)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execMOD, gValue(7.0), gValue(0)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execMOD, gValue(7), gValue(0.0)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execMOD, gValue("s"), gValue(0)), ev::TypeMismatch);
}

TEST(gValueDivision, RemainderTakesTheSignOfTheLeftOperand) {
  EXPECT_EQ(result(&gValue::execMOD, gValue(7), gValue(2)), gValue(1));
  EXPECT_EQ(result(&gValue::execMOD, gValue(-7), gValue(2)), gValue(-1));
  EXPECT_EQ(result(&gValue::execMOD, gValue(7), gValue(-2)), gValue(1));
  EXPECT_EQ(result(&gValue::execMOD, gValue(-7), gValue(-2)), gValue(-1));
  EXPECT_EQ(result(&gValue::execMOD, gValue(6), gValue(3)), gValue(0));
  EXPECT_EQ(result(&gValue::execMOD, gValue(IntMin), gValue(IntMax)), gValue(-1));
}

// The decided faults: INT_MIN / -1 and INT_MIN % -1 do not fit a long.
TEST(gValueDecided, LongMinDividedByMinusOneGivesStatus5) {
  gValue quotient(IntMin);
  EXPECT_EQ(quotient.execDIVID(gValue(-1)), ev::OutOfLongRange);
  EXPECT_EQ(quotient.getType(), gValue::Long);
  gValue remainder(IntMin);
  EXPECT_EQ(remainder.execMOD(gValue(-1)), ev::OutOfLongRange);
  EXPECT_EQ(remainder.getType(), gValue::Long);
  // Neighbours of the fault are ordinary.
  EXPECT_EQ(result(&gValue::execDIVID, gValue(IntMin), gValue(1)), gValue(IntMin));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(IntMin + 1), gValue(-1)), gValue(IntMax));
  EXPECT_EQ(result(&gValue::execMOD, gValue(IntMin + 1), gValue(-1)), gValue(0));
  EXPECT_EQ(result(&gValue::execDIVID, gValue(IntMin), gValue(-1.0)), gValue(2147483648.0));
}

// The decided fault: a NaN never reaches the cast to a long.
TEST(gValueDecided, NaNToLongGivesStatus5AndLeavesTheOutputUntouched) {
  std::int32_t out = 42;
  EXPECT_EQ(gValue(NaN).getValue(out), ev::OutOfLongRange);
  EXPECT_EQ(out, 42);
  EXPECT_EQ(gValue(-NaN).getValue(out), ev::OutOfLongRange);
  EXPECT_EQ(out, 42);
}

// ---------------------------------------------------------------------------------------
// Logic and comparisons

TEST(gValueLogic, OrAndAreLogicalOnLongsOnly) {
  EXPECT_EQ(result(&gValue::execOR, gValue(1), gValue(0)), gValue(1));
  EXPECT_EQ(result(&gValue::execOR, gValue(0), gValue(0)), gValue(0));
  EXPECT_EQ(result(&gValue::execOR, gValue(0), gValue(-4)), gValue(1));
  EXPECT_EQ(result(&gValue::execAND, gValue(5), gValue(2)), gValue(1)); // not bitwise (0)
  EXPECT_EQ(result(&gValue::execAND, gValue(5), gValue(0)), gValue(0));
  EXPECT_EQ(status(&gValue::execOR, gValue(1.0), gValue(0)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execAND, gValue(1), gValue(1.0)), ev::TypeMismatch);
}

TEST(gValueLogic, NotOnLongsOnly) {
  EXPECT_EQ(result(&gValue::execNOT, gValue(5)), gValue(0));
  EXPECT_EQ(result(&gValue::execNOT, gValue(0)), gValue(1));
  EXPECT_EQ(result(&gValue::execNOT, gValue(IntMin)), gValue(0));
  EXPECT_EQ(status(&gValue::execNOT, gValue(2.0)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execNOT, gValue("")), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execNOT, gValue()), ev::TypeMismatch);
}

namespace {

// The 0/1 results of the six comparisons of l with r, in slot order.
std::array<std::int32_t, 6> compareAll(const gValue& l, const gValue& r) {
  const BinaryOp ops[] = {&gValue::execEQUAL,   &gValue::execNOTEQ, &gValue::execSMALL,
                          &gValue::execSMALLEQ, &gValue::execLARGE, &gValue::execLARGEEQ};
  std::array<std::int32_t, 6> out{};
  for (std::size_t i = 0; i < 6; ++i) {
    const gValue v = result(ops[i], l, r);
    EXPECT_EQ(v.getType(), gValue::Long);
    out[i] = longOf(v);
  }
  return out;
}

using Flags = std::array<std::int32_t, 6>;
//                       ==  !=  <  <=  >  >=
constexpr Flags Less{{0, 1, 1, 1, 0, 0}};
constexpr Flags Equal{{1, 0, 0, 1, 0, 1}};
constexpr Flags Greater{{0, 1, 0, 0, 1, 1}};
constexpr Flags Unordered{{0, 1, 0, 0, 0, 0}};

} // namespace

TEST(gValueCompare, NumbersCompareByValue) {
  EXPECT_EQ(compareAll(gValue(3), gValue(4)), Less);
  EXPECT_EQ(compareAll(gValue(-3), gValue(-3)), Equal);
  EXPECT_EQ(compareAll(gValue(IntMax), gValue(IntMin)), Greater);
  EXPECT_EQ(compareAll(gValue(3), gValue(3.5)), Less);
  EXPECT_EQ(compareAll(gValue(2), gValue(2.0)), Equal);
  EXPECT_EQ(compareAll(gValue(2.5), gValue(2)), Greater);
  EXPECT_EQ(compareAll(gValue(0.0), gValue(-0.0)), Equal);
  EXPECT_EQ(compareAll(gValue(NaN), gValue(NaN)), Unordered);
  EXPECT_EQ(compareAll(gValue(1), gValue(NaN)), Unordered);
}

TEST(gValueCompare, StringsCompareAsUnsignedBytes) {
  EXPECT_EQ(compareAll(gValue("abc"), gValue("abd")), Less);
  EXPECT_EQ(compareAll(gValue("B"), gValue("a")), Less);    // uppercase first
  EXPECT_EQ(compareAll(gValue("ab"), gValue("abc")), Less); // a prefix sorts first
  EXPECT_EQ(compareAll(gValue(""), gValue("a")), Less);
  EXPECT_EQ(compareAll(gValue("abc"), gValue("abc")), Equal);
  EXPECT_EQ(compareAll(gValue(""), gValue("")), Equal);
  EXPECT_EQ(compareAll(gValue("\x82\xa0"), gValue("z")), Greater); // a byte above 0x7F
}

TEST(gValueCompare, AStringNeverComparesWithANumber) {
  EXPECT_EQ(status(&gValue::execEQUAL, gValue("3"), gValue(3)), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execSMALL, gValue(3.0), gValue("3")), ev::TypeMismatch);
  EXPECT_EQ(status(&gValue::execNOTEQ, gValue(), gValue()), ev::TypeMismatch);
}

// ---------------------------------------------------------------------------------------
// Negation and absolute value

TEST(gValueNegation, InvertKeepsTheTag) {
  EXPECT_EQ(result(&gValue::execINVERT, gValue(5)), gValue(-5));
  EXPECT_EQ(result(&gValue::execINVERT, gValue(IntMax)), gValue(-IntMax));
  EXPECT_EQ(result(&gValue::execINVERT, gValue(IntMin)), gValue(IntMin)); // no overflow check
  EXPECT_EQ(result(&gValue::execINVERT, gValue(2.5)), gValue(-2.5));
  EXPECT_TRUE(std::signbit(doubleOf(result(&gValue::execINVERT, gValue(0.0)))));
  EXPECT_EQ(result(&gValue::execINVERT, gValue("abc")), gValue("cba"));
  EXPECT_EQ(result(&gValue::execINVERT, gValue("")), gValue(""));
  EXPECT_EQ(status(&gValue::execINVERT, gValue()), ev::TypeMismatch);
}

TEST(gValueNegation, AbsKeepsTheTag) {
  EXPECT_EQ(result(&gValue::execABS, gValue(-5)), gValue(5));
  EXPECT_EQ(result(&gValue::execABS, gValue(5)), gValue(5));
  EXPECT_EQ(result(&gValue::execABS, gValue(IntMin)), gValue(IntMin)); // no overflow check
  EXPECT_EQ(result(&gValue::execABS, gValue(-2.5)), gValue(2.5));
  EXPECT_EQ(result(&gValue::execABS, gValue(-Inf)), gValue(Inf));
  EXPECT_EQ(status(&gValue::execABS, gValue("-1")), ev::TypeMismatch);
}

TEST(gValueNegation, ReversStringReversesBytes) {
  char out[256];
  reversString(out, "abc");
  EXPECT_STREQ(out, "cba");
  reversString(out, "");
  EXPECT_STREQ(out, "");
  reversString(out, "\x82\xa0x"); // a two-byte character comes out with its bytes swapped
  EXPECT_STREQ(out, "x\xa0\x82");
  char inPlace[] = "abcd";
  reversString(inPlace, inPlace);
  EXPECT_STREQ(inPlace, "dcba");
  reversString(out, nullptr);
  EXPECT_STREQ(out, "");
}

// ---------------------------------------------------------------------------------------
// Functions: conversion of longs, ceil / floor / int, domain checks

TEST(gValueFunctions, LongsAreConvertedAndTextsRefused) {
  const UnaryOp converting[] = {&gValue::execSIN,   &gValue::execCOS,   &gValue::execTAN,
                                &gValue::execEXP,   &gValue::execLOG10, &gValue::execLOG,
                                &gValue::execLOG2,  &gValue::execASIN,  &gValue::execACOS,
                                &gValue::execATAN,  &gValue::execSQRT,  &gValue::execSIND,
                                &gValue::execCOSD,  &gValue::execTAND,  &gValue::execASIND,
                                &gValue::execACOSD, &gValue::execATAND};
  for (UnaryOp op : converting) {
    EXPECT_EQ(result(op, gValue(1)).getType(), gValue::Double);
    EXPECT_EQ(result(op, gValue(1)), result(op, gValue(1.0)));
    EXPECT_EQ(status(op, gValue("1")), ev::TypeMismatch);
    EXPECT_EQ(status(op, gValue()), ev::TypeMismatch);
  }
}

TEST(gValueFunctions, Values) {
  EXPECT_EQ(result(&gValue::execSIN, gValue(0)), gValue(0.0));
  EXPECT_EQ(result(&gValue::execCOS, gValue(0)), gValue(1.0));
  EXPECT_EQ(result(&gValue::execEXP, gValue(0)), gValue(1.0));
  EXPECT_EQ(result(&gValue::execLOG10, gValue(1000.0)), gValue(3.0));
  EXPECT_EQ(result(&gValue::execLOG, gValue(1)), gValue(0.0));
  EXPECT_EQ(result(&gValue::execLOG2, gValue(8)), gValue(3.0));
  EXPECT_EQ(result(&gValue::execSQRT, gValue(0)), gValue(0.0));
  EXPECT_EQ(result(&gValue::execSQRT, gValue(2.25)), gValue(1.5));
  EXPECT_EQ(result(&gValue::execASIN, gValue(1)), gValue(std::asin(1.0)));
  EXPECT_EQ(result(&gValue::execACOS, gValue(-1)), gValue(std::acos(-1.0)));
  EXPECT_EQ(result(&gValue::execATAN, gValue(1)), gValue(std::atan(1.0)));
  // No test of its own: overflow is the platform's result with status 0.
  EXPECT_EQ(result(&gValue::execEXP, gValue(1000)), gValue(Inf));
}

TEST(gValueFunctions, CeilFloorIntRefuseLongs) {
  for (UnaryOp op : {&gValue::execCEIL, &gValue::execFLOOR, &gValue::execINT}) {
    EXPECT_EQ(status(op, gValue(7)), ev::TypeMismatch);
    EXPECT_EQ(status(op, gValue("7")), ev::TypeMismatch);
    EXPECT_EQ(status(op, gValue()), ev::TypeMismatch);
  }
  EXPECT_EQ(result(&gValue::execCEIL, gValue(1.2)), gValue(2.0));
  EXPECT_EQ(result(&gValue::execCEIL, gValue(-1.2)), gValue(-1.0));
  EXPECT_EQ(result(&gValue::execFLOOR, gValue(-1.2)), gValue(-2.0));
  EXPECT_EQ(result(&gValue::execFLOOR, gValue(1.8)), gValue(1.0));
}

TEST(gValueFunctions, IntRoundsHalfUp) {
  EXPECT_EQ(result(&gValue::execINT, gValue(2.5)), gValue(3.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(-2.5)), gValue(-2.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(2.4999)), gValue(2.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(-2.5001)), gValue(-3.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(-0.5)), gValue(0.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(3.0)), gValue(3.0));
  EXPECT_EQ(result(&gValue::execINT, gValue(1e300)), gValue(1e300));
  // floor(x + 0.5) exactly as written: the sum rounds up to 1.0 here.
  EXPECT_EQ(result(&gValue::execINT, gValue(0.49999999999999994)), gValue(1.0));
}

TEST(gValueFunctions, DomainErrorsLeaveTheValueUnchanged) {
  struct Case {
    UnaryOp op;
    gValue arg;
  };
  const Case refused[] = {
      {&gValue::execLOG10, gValue(0.0)},    {&gValue::execLOG10, gValue(-1)},
      {&gValue::execLOG, gValue(0)},        {&gValue::execLOG, gValue(-0.0)},
      {&gValue::execLOG2, gValue(-3.5)},    {&gValue::execLOG2, gValue(-Inf)},
      {&gValue::execSQRT, gValue(-1)},      {&gValue::execSQRT, gValue(-1e-300)},
      {&gValue::execASIN, gValue(1.5)},     {&gValue::execASIN, gValue(-2)},
      {&gValue::execACOS, gValue(-1.01)},   {&gValue::execACOS, gValue(2)},
      {&gValue::execASIND, gValue(1.5)},    {&gValue::execASIND, gValue(-2)},
      {&gValue::execACOSD, gValue(1.0001)}, {&gValue::execACOSD, gValue(IntMin)},
  };
  for (const Case& c : refused) {
    gValue v = c.arg;
    EXPECT_EQ((v.*c.op)(), ev::DomainError);
    EXPECT_EQ(v.getType(), c.arg.getType()); // a long stays a long
    EXPECT_EQ(v, c.arg);
  }
}

TEST(gValueFunctions, DomainLimitsAreAccepted) {
  EXPECT_EQ(status(&gValue::execSQRT, gValue(-0.0)), ev::Ok); // -0.0 is not below 0
  EXPECT_EQ(status(&gValue::execLOG, gValue(4.9e-324)), ev::Ok);
  for (UnaryOp op :
       {&gValue::execASIN, &gValue::execACOS, &gValue::execASIND, &gValue::execACOSD}) {
    EXPECT_EQ(status(op, gValue(1)), ev::Ok);
    EXPECT_EQ(status(op, gValue(-1.0)), ev::Ok);
  }
  // A NaN is refused by no domain check; the function gives NaN.
  EXPECT_TRUE(std::isnan(doubleOf(result(&gValue::execLOG, gValue(NaN)))));
}

// ---------------------------------------------------------------------------------------
// Degree conversions

TEST(gValueDegrees, RightAngles) {
  const double cosd90 = doubleOf(result(&gValue::execCOSD, gValue(90)));
  EXPECT_NE(cosd90, 0.0); // the conversion is not exact
  EXPECT_EQ(cosd90, std::cos(1.5707963267948966));
  EXPECT_NEAR(cosd90, 6.123233995736766e-17, 1e-30);
  EXPECT_EQ(result(&gValue::execSIND, gValue(90)), gValue(1.0));
  const double tand90 = doubleOf(result(&gValue::execTAND, gValue(90.0)));
  EXPECT_TRUE(std::isfinite(tand90));
  EXPECT_GT(tand90, 1e15);
  EXPECT_EQ(result(&gValue::execASIND, gValue(1)), gValue(90.0));
  EXPECT_EQ(result(&gValue::execACOSD, gValue(0)), gValue(90.0));
  EXPECT_EQ(result(&gValue::execATAND, gValue(1)), gValue(45.0));
  EXPECT_EQ(result(&gValue::execSIND, gValue(0)), gValue(0.0));
}

// Where (x * pi) * (1/180) and x * (pi / 180) round differently, the two-step form wins.
TEST(gValueDegrees, TwoRoundedProductsNotOneConstant) {
  const double Pi = 3.141592653589793, InverseOf180 = 0.005555555555555556;
  const double InverseOfPi = 0.3183098861837907;
  const volatile double folded = Pi * InverseOf180;
  const double radians = twoStep(19.0, Pi, InverseOf180);
  ASSERT_NE(radians, 19.0 * folded); // 19 degrees tells the two forms apart
  EXPECT_EQ(result(&gValue::execSIND, gValue(19)), gValue(std::sin(radians)));
  EXPECT_EQ(result(&gValue::execCOSD, gValue(19)), gValue(std::cos(radians)));
  EXPECT_EQ(result(&gValue::execTAND, gValue(19)), gValue(std::tan(radians)));

  const volatile double foldedBack = 180.0 * InverseOfPi;
  const double degrees = twoStep(std::atan(0.2), 180.0, InverseOfPi);
  ASSERT_NE(degrees, std::atan(0.2) * foldedBack);
  EXPECT_EQ(result(&gValue::execATAND, gValue(0.2)), gValue(degrees));
  EXPECT_EQ(result(&gValue::execASIND, gValue(0.2)),
            gValue(twoStep(std::asin(0.2), 180.0, InverseOfPi)));
  EXPECT_EQ(result(&gValue::execACOSD, gValue(0.2)),
            gValue(twoStep(std::acos(0.2), 180.0, InverseOfPi)));
}

// ---------------------------------------------------------------------------------------
// operator==

TEST(gValueEquality, TagAndNamedFieldOnly) {
  EXPECT_TRUE(gValue() == gValue());
  EXPECT_TRUE(gValue(2) == gValue(2));
  EXPECT_FALSE(gValue(2) == gValue(3));
  EXPECT_FALSE(gValue(2) == gValue(2.0)); // different tags
  EXPECT_TRUE(gValue(0.0) == gValue(-0.0));
  EXPECT_FALSE(gValue(NaN) == gValue(NaN));
  EXPECT_TRUE(gValue("ab") == gValue("ab"));
  EXPECT_FALSE(gValue("ab") == gValue("aB"));
  EXPECT_FALSE(gValue("") == gValue());
  gValue wasText("old");
  wasText.setValue(std::int32_t{1});
  EXPECT_TRUE(wasText == gValue(1)); // the stale text is not compared
}
