#include "EvalHelpers.h"
#include "EvalonStatus.h"
#include "OperatorTable.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(CalcFormula, PrecedenceAndGrouping) {
  TCalcSystem s;
  EXPECT_EQ(longOf(s, "1+2*3").value, 7);
  EXPECT_EQ(longOf(s, "(1+2)*3").value, 9);
  EXPECT_EQ(longOf(s, "10-4-3").value, 3);     // left to right
  EXPECT_EQ(longOf(s, "100/10/5").value, 2);   // left to right
  EXPECT_EQ(doubleOf(s, "2^3^2").value, 64.0); // "^" groups from the left too
  EXPECT_EQ(doubleOf(s, "-2^2").value, 4.0);   // unary minus binds tighter than "^"
  EXPECT_EQ(longOf(s, "2* -3").value, -6);
  EXPECT_EQ(longErr(s, "2*-3"), ev::UndefinedOperator); // "*-" is one unknown operator
  EXPECT_EQ(longOf(s, "1 < 2 == 1").value, 1);
  EXPECT_EQ(longOf(s, "1 | 0 & 0").value, 1); // "&" binds tighter than "|"
}

TEST(CalcFormula, LongAndDoubleModes) {
  TCalcSystem s;
  EXPECT_EQ(longOf(s, "7/2").value, 3);
  EXPECT_EQ(doubleOf(s, "7/2").value, 3.0);
  EXPECT_EQ(doubleAsOf(s, "7/2").value, 3.5);
  EXPECT_EQ(longOf(s, "10%3").value, 1);
  EXPECT_EQ(doubleAsErr(s, "10%3"), ev::TypeMismatch);
  EXPECT_EQ(longErr(s, "2147483647+1"), ev::OutOfLongRange);
  EXPECT_EQ(doubleAsOf(s, "2147483647+1").value, 2147483648.0);
  EXPECT_EQ(longErr(s, "2147483648"), ev::OutOfLongRange);
  EXPECT_EQ(longOf(s, "2147483647").value, 2147483647);
  EXPECT_EQ(longOf(s, "!0").value, 1);
  EXPECT_EQ(doubleAsErr(s, "!0"), ev::TypeMismatch); // the literal is a double there
  EXPECT_EQ(longOf(s, "!1 == 0").value, 1);          // !(1 == 0)
  EXPECT_EQ(doubleAsOf(s, "!1 == 0").value, 1.0);    // the comparison yields a long
  EXPECT_EQ(longErr(s, "int(3)"), ev::TypeMismatch);
  EXPECT_EQ(doubleAsOf(s, "int(3)").value, 3.0);
  EXPECT_EQ(doubleOf(s, "1.2.3").value, 1.2);
  EXPECT_EQ(longOf(s, "007").value, 7);
}

// Literals are read exactly as the C library reads them, short ones and long ones.
TEST(CalcFormula, LiteralsAreCorrectlyRounded) {
  TCalcSystem s;
  for (const char* literal :
       {"0.1", "0.3", "123.456", "3.14159265358979", "2.718281828459045", "0.000001",
        "999999999999999", "9007199254740993", "1.0000000000000002", "12345678901234567890.5",
        "0.1000000000000000055511151231257827", "12.", "0"}) {
    EXPECT_EQ(doubleAsOf(s, literal).value, std::strtod(literal, nullptr)) << literal;
  }
  EXPECT_EQ(doubleAsOf(s, "1.25.5").value, 1.25);
  EXPECT_EQ(doubleAsOf(s, "1..5").value, 1.0); // one token; the second point ends the number
}

TEST(CalcFormula, ComparisonsMixWithLogicInBothModes) {
  TCalcSystem s;
  s.SetFloatValue("x", 0.5);
  EXPECT_EQ(doubleAsOf(s, "(x > 0) & (x < 1)").value, 1.0);
  s.SetLongValue("n", 3);
  EXPECT_EQ(longOf(s, "(n > 0) & (n < 1)").value, 0);
}

TEST(CalcFormula, PrefixOperatorsReduceEarly) {
  TCalcSystem s;
  s.SetFloatValue("x#", 0.5);
  EXPECT_EQ(longErr(s, "-sin(x#)"), ev::MissingOperand);
  EXPECT_DOUBLE_EQ(doubleOf(s, "-(sin(x#))").value, -std::sin(0.5));
  EXPECT_DOUBLE_EQ(doubleOf(s, "0-sin(x#)").value, -std::sin(0.5));
  // The minus arriving after "+" negates the waiting 1.
  EXPECT_DOUBLE_EQ(doubleOf(s, "1 + -sin(x#)").value, -1 + std::sin(0.5));
  EXPECT_DOUBLE_EQ(doubleOf(s, "sin(sin(x#))").value, std::sin(std::sin(0.5)));
  EXPECT_EQ(longErr(s, "sin sin x#"), ev::MissingOperand);
  EXPECT_DOUBLE_EQ(doubleOf(s, "sin x#").value, std::sin(0.5));
  EXPECT_DOUBLE_EQ(doubleOf(s, "sin x#^2").value, std::pow(std::sin(0.5), 2));
  EXPECT_DOUBLE_EQ(doubleOf(s, "sin(x#^2)").value, std::sin(0.25));
  EXPECT_EQ(longErr(s, "1 & !0"), ev::MissingOperand);
  EXPECT_EQ(longOf(s, "!1 & 0").value, 1); // "!" takes everything after it
}

TEST(CalcFormula, FunctionNamesAreExactAndCaseSensitive) {
  TCalcSystem s;
  EXPECT_EQ(longErr(s, "Sin(1)"), ev::MissingOperator); // the variable Sin, then (1)
  TCalcSystem strict;
  strict.SetAutoCreate(false);
  EXPECT_EQ(longErr(strict, "Sin(1)"), ev::NoVariable);
  EXPECT_DOUBLE_EQ(doubleAsOf(s, "log10(1000)").value, 3.0);
  EXPECT_DOUBLE_EQ(doubleAsOf(s, "log2(8)").value, 3.0);
  EXPECT_DOUBLE_EQ(doubleAsOf(s, "atand(1)").value, 45.0);
  EXPECT_EQ(doubleAsOf(s, "abs(-2)").value, 2.0);
  EXPECT_EQ(longOf(s, "abs(-2)").value, 2);
}

TEST(CalcFormula, StructuralErrors) {
  TCalcSystem s;
  EXPECT_EQ(longErr(s, "(1+2"), ev::MissingOperand);
  EXPECT_EQ(longErr(s, "2*(3"), ev::UndefinedOperator);
  EXPECT_EQ(longErr(s, "1+2)"), ev::MissingOperator);
  EXPECT_EQ(longErr(s, "()"), ev::MissingOperator);
  EXPECT_EQ(longErr(s, "1 2"), ev::MissingOperator);
  EXPECT_EQ(longErr(s, "+"), ev::MissingOperand);
  EXPECT_EQ(longErr(s, "1+"), ev::MissingOperand);
  EXPECT_EQ(longErr(s, ""), ev::EmptyFormula);
  EXPECT_EQ(longErr(s, " \t "), ev::EmptyFormula);
  EXPECT_EQ(longErr(s, "3,4"), ev::IllegalCharacter);
  EXPECT_EQ(longErr(s, "2 = 1"), ev::UndefinedOperator);
  EXPECT_EQ(longErr(s, "log(0)"), ev::DomainError);
  EXPECT_EQ(longErr(s, "1/0"), ev::DivisionByZero);
  std::uint32_t err = 0;
  EXPECT_EQ(s.calcLongFormula(nullptr, err), 0);
  EXPECT_EQ(err, ev::EmptyFormula);
}

TEST(CalcFormula, FirstErrorWinsAndNumberIsZero) {
  TCalcSystem s;
  EXPECT_EQ(longOf(s, "1/0 + 1,").err, ev::DivisionByZero); // reduced before the ","
  EXPECT_EQ(longOf(s, "1/0 + 1,").value, 0);
  EXPECT_EQ(doubleOf(s, "1,+1/0").err, ev::IllegalCharacter);
  EXPECT_EQ(doubleOf(s, "1,+1/0").value, 0.0);
  EXPECT_EQ(longOf(s, "a[0]").err, ev::SubscriptRange);
  EXPECT_EQ(longOf(s, "a[1][2][3]").err, ev::TooManySubscripts);
}

// A name token is read as the reference it is: what follows the name proper is passed
// over as the reference syntax says, also on the quick path for plain names.
TEST(CalcFormula, NameTokensAreReadAsReferences) {
  TCalcSystem s;
  s.SetLongValue("a", 5);
  s.SetLongValue("b[2]", 7);
  EXPECT_EQ(longOf(s, "a]").value, 5);
  EXPECT_EQ(longOf(s, "a]+1").value, 6);
  EXPECT_EQ(longOf(s, "b[2]x").value, 7);
  EXPECT_EQ(longOf(s, "a").value, 5);
}

TEST(CalcFormula, Strings) {
  TCalcSystem s;
  EXPECT_EQ(stringOf(s, "\"ab\"+\"cd\"").value, "abcd");
  EXPECT_EQ(stringOf(s, "-\"abc\"").value, "cba");
  const StringResult numeric = stringOf(s, "1+2");
  EXPECT_EQ(numeric.err, ev::TypeMismatch);
  EXPECT_EQ(numeric.value, "untouched"); // written only on success
  EXPECT_EQ(doubleOf(s, "\"ab\"").err, ev::TypeMismatch);
  EXPECT_EQ(longOf(s, "\"ab\" < \"b\"").value, 1);
  s.SetStringValue("s$", "xyz");
  EXPECT_EQ(stringOf(s, "s$ + \"!\"").value, "xyz!");
  // Concatenation has no limit of its own; the result must fit 254 characters.
  const std::string a = "\"" + std::string(127, 'q') + "\"";
  const std::string b = "\"" + std::string(128, 'q') + "\"";
  EXPECT_EQ(stringOf(s, a + "+" + a).value.size(), 254u);
  EXPECT_EQ(stringOf(s, a + "+" + b).err, ev::TextTooLong);
  EXPECT_EQ(longOf(s, "(" + b + "+" + b + ") < \"r\"").value, 1);
}

TEST(CalcFormula, WorkedExampleInBothDoubleEntryPoints) {
  TCalcSystem s;
  ASSERT_EQ(s.SetFloatValue("x", 0.5), ev::Ok);
  const DoubleResult as = doubleAsOf(s, "sin(x)*2^3");
  EXPECT_EQ(as.err, ev::Ok);
  EXPECT_EQ(as.value, 3.835404308833624);
  const DoubleResult plain = doubleOf(s, "sin(x)*2^3");
  EXPECT_EQ(plain.err, ev::Ok);
  EXPECT_EQ(plain.value, 0.0); // x read as a long is 0
}

TEST(CalcFormula, DoubleModeLastsForOneCall) {
  TCalcSystem s;
  s.SetFloatFlag(true);
  EXPECT_EQ(doubleOf(s, "7/2").value, 3.5); // the flag on is double mode for every entry
  doubleAsOf(s, "1");
  EXPECT_FALSE(s.GetFloatFlag());
  doubleAsOf(s, "1/0");
  EXPECT_FALSE(s.GetFloatFlag());
}

TEST(CalcFormula, LimitsAreRefusedWithTheirCodes) {
  TCalcSystem s;
  std::string tokens = "1";
  for (int n = 0; n < 63; ++n)
    tokens += "+1"; // 127 tokens
  EXPECT_EQ(longOf(s, tokens).value, 64);
  EXPECT_EQ(longOf(s, tokens + " ").value, 64);
  EXPECT_EQ(longErr(s, tokens + "+1"), ev::TextTooLong); // 129 tokens
  EXPECT_EQ(longErr(s, std::string(256, '1')), ev::LiteralTooLong);
  EXPECT_EQ(longErr(s, "1+\"abc"), ev::UnclosedString);
  EXPECT_EQ(longErr(s, "1+a[2"), ev::MissingCloseBracket);

  const std::string open20(20, '(');
  const std::string close20(20, ')');
  EXPECT_EQ(longOf(s, open20 + "1" + close20).value, 1);
  EXPECT_EQ(longErr(s, "(" + open20 + "1" + close20 + ")"), ev::TextTooLong);
  // 21 values waiting: "1+(1+(1+ ..." keeps every left operand on the stack.
  std::string values = "1";
  for (int n = 0; n < 20; ++n)
    values += "+(1";
  EXPECT_EQ(longErr(s, values + std::string(20, ')')), ev::TextTooLong);
}

TEST(CalcFormula, NestedSubscriptsAreBounded) {
  TCalcSystem s;
  s.SetLongValue("a", 1);
  s.SetLongValue("a[1]", 1);
  std::string deep = "a";
  for (int n = 0; n < 40; ++n)
    deep = "a[" + deep + "]";
  EXPECT_EQ(longErr(s, deep), ev::TooManySubscripts);
  std::string shallow = "a";
  for (int n = 0; n < 10; ++n)
    shallow = "a[" + shallow + "]";
  EXPECT_EQ(longOf(s, shallow).value, 1);
}

TEST(OperatorTable, LookupAndClasses) {
  EXPECT_EQ(findOperator(""), OpReserved);
  EXPECT_EQ(findOperator("=="), OpEqual);
  EXPECT_EQ(findOperator("log"), OpLog);
  EXPECT_EQ(findOperator("log10"), OpLog10);
  EXPECT_EQ(findOperator("log2"), OpLog2);
  EXPECT_EQ(findOperator("-"), OpMinus);
  EXPECT_EQ(findOperator("*-"), OpUnknown);
  EXPECT_EQ(findOperator("SIN"), OpUnknown);
  EXPECT_EQ(precedenceOf(OpLargeEqual), 7);
  EXPECT_EQ(precedenceOf(OpMinus), 13);
  EXPECT_EQ(precedenceOf(OpMod), 15);
  EXPECT_EQ(precedenceOf(OpInt), 19);
  EXPECT_EQ(precedenceOf(OpAcosd), 38);
  EXPECT_EQ(precedenceOf(OpInvert), 40);
}

} // namespace
