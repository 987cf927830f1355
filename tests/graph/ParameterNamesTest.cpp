#include "ParameterNames.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const char* formula) {
  return parameterNames(QString::fromUtf8(formula));
}

TEST(ParameterNames, PlainVariablesInOrderOfFirstUseWithTheirSigils) {
  EXPECT_EQ(names("a*sin(k#*x)+s$"), (QStringList{"a", "k#"}));
  EXPECT_EQ(names("b*x+a*x^2+b"), (QStringList{"b", "a"}));
  EXPECT_EQ(names("a+a#+a_1+A"), (QStringList{"a", "a#", "a_1", "A"}));
  // The last sigil decides the kind: "$" then "#" is a double variable.
  EXPECT_EQ(names("u$v#+w#z$"), (QStringList{"u$v#"}));
  // A number ends where its digits end; what follows is a name of its own.
  EXPECT_EQ(names("2a+3.5b1"), (QStringList{"a", "b1"}));
}

TEST(ParameterNames, XTheConstantsFunctionsSubscriptsAndTextsAreNone) {
  for (const char* formula :
       {"x", "pi", "e", "a[1]", "s$", "sin(x)+log10(x)+atand(x)+int(x)+floor(x)", "k#[i+1][2]",
        "a[b+c]", "2*pi*x+e^x", "\"a+b\"", "", "3.5+4"})
    EXPECT_TRUE(names(formula).isEmpty()) << formula;
  // With a sigil a function's name is a variable like any other; x, pi and e likewise.
  EXPECT_EQ(names("sin#+x#+pi#+e#"), (QStringList{"sin#", "x#", "pi#", "e#"}));
  // Names are case-sensitive as in the engine, but a function name in another case is a slip,
  // no parameter: it is named for the hint instead.
  EXPECT_EQ(names("X+Pi+E+Sin(x)+LOG10+cosD"), (QStringList{"X", "Pi", "E"}));
  EXPECT_EQ(miscasedFunctionNames("X+Sin(x)*SIN(x)+LOG10+cosD+sin(x)+Sinh"),
            (QStringList{"sin", "log10", "cosd"}));
}

TEST(ParameterNames, StringLiteralsAndBracketsHideNames) {
  EXPECT_EQ(names("\"a\"+b+\"c"), (QStringList{"b"}));
  // An unclosed subscript runs to the end of the formula.
  EXPECT_EQ(names("c+a[b+d"), (QStringList{"c"}));
  // Other characters end a name, also those outside ASCII.
  EXPECT_EQ(names("a\xE3\x81\x82"
                  "b"),
            (QStringList{"a", "b"}));
  // The engine reads up to a NUL.
  EXPECT_EQ(parameterNames(QStringLiteral("a+b") + QChar(0) + QStringLiteral("+c")),
            (QStringList{"a", "b"}));
  // A name longer than the engine holds makes no parameter.
  EXPECT_TRUE(parameterNames(QString(256, QLatin1Char('q'))).isEmpty());
  EXPECT_EQ(parameterNames(QString(255, QLatin1Char('q'))).size(), 1);
}

TEST(ParameterNames, OneNameOnly) {
  for (const char* name : {"a", "k#", "a_b2", "u$v#"})
    EXPECT_TRUE(isParameterName(QString::fromUtf8(name))) << name;
  for (const char* text :
       {"", "x", "pi", "sin", "s$", "a[1]", "1a", "a b", "a+b", " a", "_a", "\xC3\xA4"})
    EXPECT_FALSE(isParameterName(QString::fromUtf8(text))) << text;
}

} // namespace
