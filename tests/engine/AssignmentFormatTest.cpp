#include "EvalHelpers.h"
#include "EvalonStatus.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Written {
  int status;
  std::string text;
};

Written write(TCalcSystem& s, const std::string& item) {
  char text[256] = "untouched";
  const int status = s.GetWriteFormat(item.c_str(), text);
  return {status, text};
}

TEST(Execute, TargetKindDecidesTheEvaluation) {
  TCalcSystem s;
  EXPECT_EQ(s.Execute("n = 7/2"), ev::Ok);
  EXPECT_EQ(longOf(s, "n").value, 3);
  EXPECT_EQ(s.Execute("r# = 7/2"), ev::Ok); // an integer division with the flag off
  EXPECT_EQ(doubleOf(s, "r#").value, 3.0);
  EXPECT_EQ(s.Execute("r# = 7.0/2"), ev::Ok);
  EXPECT_EQ(doubleOf(s, "r#").value, 3.5);
  EXPECT_EQ(s.Execute("  s$  =  \"ab\""), ev::Ok);
  EXPECT_EQ(stringOf(s, "s$").value, "ab");
  s.SetFloatValue("k#", 1.0);
  EXPECT_EQ(s.Execute("v[k#] = 1.5"), ev::Ok); // a "#" in the subscript makes it a double
  EXPECT_EQ(doubleAsOf(s, "v[1]").value, 1.5);
}

TEST(Execute, ExpressionFirstThenTarget) {
  TCalcSystem s;
  EXPECT_EQ(s.Execute("i = 2"), ev::Ok);
  EXPECT_EQ(s.Execute("a[i+1] = 7"), ev::Ok);
  EXPECT_EQ(longOf(s, "a[3]").value, 7);
  // The target's subscript is evaluated after the expression has created j.
  s.SetAutoCreate(true);
  EXPECT_EQ(s.Execute("b[j+1] = j + 5"), ev::Ok);
  EXPECT_EQ(longOf(s, "b[1]").value, 5);
}

TEST(Execute, Refusals) {
  TCalcSystem s;
  EXPECT_EQ(s.Execute("= 3"), ev::BadName);
  EXPECT_EQ(s.Execute("2x = 1"), ev::BadName);
  EXPECT_EQ(s.Execute("a b = 1"), ev::BadName);
  EXPECT_EQ(s.Execute("n 3"), ev::MissingEquals);
  EXPECT_EQ(s.Execute(nullptr), ev::MissingEquals);
  EXPECT_EQ(s.Execute("n = 1/0"), ev::DivisionByZero);
  EXPECT_EQ(s.Execute("n = \"text\""), ev::TypeMismatch);
  EXPECT_EQ(s.Execute("a[0] = 1"), ev::SubscriptRange);
  EXPECT_EQ(s.Execute(("n = " + std::string(300, '1')).c_str()), ev::TextTooLong);
  EXPECT_EQ(s.Execute((std::string(300, 'n') + " = 1").c_str()), ev::TextTooLong);
}

TEST(GetPrintFormat, LabelTakesSubscriptValues) {
  TCalcSystem s;
  s.Execute("i = 2");
  s.Execute("a[3] = 7");
  char label[256], text[256];
  EXPECT_EQ(s.GetPrintFormat("a[i+1]", label, text), ev::Ok);
  EXPECT_STREQ(label, "a[3]");
  EXPECT_STREQ(text, "7");
  s.Execute("v# = 2.5");
  EXPECT_EQ(s.GetPrintFormat("v#", label, text), ev::Ok);
  EXPECT_STREQ(label, "v#");
  EXPECT_STREQ(text, "2.500000");
  s.Execute("m[2][3] = 1");
  EXPECT_EQ(s.GetPrintFormat("m[i][i+1]", label, text), ev::Ok);
  EXPECT_STREQ(label, "m[2][3]");
  s.Execute("t$ = \"hi\"");
  EXPECT_EQ(s.GetPrintFormat("t$", label, text), ev::Ok);
  EXPECT_STREQ(text, "hi");
}

TEST(GetPrintFormat, ErrorsLeaveTextEmpty) {
  TCalcSystem s;
  char label[256], text[256] = "x";
  EXPECT_EQ(s.GetPrintFormat("a]1", label, text), ev::MissingOpenBracket);
  EXPECT_STREQ(text, "");
  EXPECT_STREQ(label, "a");
  EXPECT_EQ(s.GetPrintFormat("a[1", label, text), ev::MissingCloseBracket);
  EXPECT_EQ(s.GetPrintFormat("a[1/0]", label, text), ev::DivisionByZero);
  EXPECT_EQ(s.GetPrintFormat("a[0]", label, text), ev::SubscriptRange); // from the value
  EXPECT_STREQ(label, "a[0]");
  // 60 subscripts each growing from "[1]" to "[4294967295]" cannot fit the label.
  s.Execute("k = -1");
  std::string many;
  for (int n = 0; n < 60; ++n)
    many += "[k]";
  EXPECT_EQ(s.GetPrintFormat(("a" + many).c_str(), label, text), ev::TextTooLong);
  EXPECT_LT(std::strlen(label), 256u);
}

TEST(GetWriteFormat, WidthsPerKind) {
  TCalcSystem s;
  s.Execute("n = 42");
  s.Execute("s$ = \"abcdef\"");
  s.Execute("t$ = \"a\"");
  s.Execute("r# = 3.5");
  EXPECT_EQ(write(s, "n:5").text, "   42");
  EXPECT_EQ(write(s, "n").text, "42");
  EXPECT_EQ(write(s, "n:1").text, "42");
  EXPECT_EQ(write(s, "n:0-3").text, "42");
  EXPECT_EQ(write(s, "-n:5").text, "  -42");
  EXPECT_EQ(write(s, "s$:3").text, "abc");
  EXPECT_EQ(write(s, "t$:3").text, "a  ");
  EXPECT_EQ(write(s, "s$").text, "abcdef");
  EXPECT_EQ(write(s, "r#:10").text, "  3.500000");
  EXPECT_EQ(write(s, "r#").text, "3.500000");
  EXPECT_EQ(write(s, "s$+\"a:b\":4").text, "abcd"); // the ":" in quotes is no width
  EXPECT_EQ(write(s, "n:2*3").text, "    42");
}

TEST(GetWriteFormat, HugeResultsAreRefusedNotOverrun) {
  TCalcSystem s;
  s.Execute("n = 42");
  s.Execute("s$ = \"ab\"");
  char guarded[300];
  std::memset(guarded, '#', sizeof guarded);
  EXPECT_EQ(s.GetWriteFormat("n:100000", guarded), ev::TextTooLong);
  EXPECT_EQ(guarded[0], '\0');
  EXPECT_EQ(guarded[256], '#');
  EXPECT_EQ(write(s, "s$:100000").status, ev::TextTooLong);
  EXPECT_EQ(write(s, "n:255").text.size(), 255u);
  EXPECT_EQ(write(s, "s$:255").text.size(), 255u);
  s.Execute("big# = 10.0^300");
  EXPECT_EQ(write(s, "big#").status, ev::TextTooLong); // 301 digits and 6 decimals
  Written failed = write(s, "n:1/0");
  EXPECT_EQ(failed.status, ev::DivisionByZero);
  EXPECT_EQ(failed.text, "");
}

} // namespace
