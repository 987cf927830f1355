#include "FormulaHints.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Cases = std::vector<std::pair<const char*, const char*>>;

void expectHints(const Cases& cases) {
  for (const auto& [formula, hint] : cases)
    EXPECT_EQ(formulaHint(QString::fromUtf8(formula)), QString::fromUtf8(hint)) << formula;
}

TEST(FormulaHints, SpellingsTheEngineReadsOtherwiseAreNamedWithTheFormulasOwnOperands) {
  expectHints({
      {"-x^2", "-x^2 は (-x)^2 と計算されます。-(x^2) と書けます"},
      {"1+(- a ^ 3)", "-a^3 は (-a)^3 と計算されます。-(a^3) と書けます"},
      {"exp(-x^2)", "-x^2 は (-x)^2 と計算されます。-(x^2) と書けます"},
      {"-(x+1)^2", "-(x+1)^2 は (-(x+1))^2 と計算されます。-((x+1)^2) と書けます"},
      {"sinx", "sinx は変数です。sin(x) のことですか?"},
      {"2*cost", "cost は変数です。cos(t) のことですか?"},
      {"log10x+sqrtx", "log10x は変数です。log10(x) のことですか?"},
      {"sinpi", "sinpi は変数です。sin(pi) のことですか?"},
      {"2^3^2", "2^3^2 は (2^3)^2 と計算されます。2^(3^2) と書けます"},
      {"x+sin(x)^(a)^2^4",
       "sin(x)^(a)^2 は (sin(x)^(a))^2 と計算されます。sin(x)^((a)^2) と書けます"},
      {"Sin(x)+2x", "関数名は小文字で書きます: sin"},
      {"2*COS*x+Tand", "関数名は小文字で書きます: cos, tand"},
  });
}

TEST(FormulaHints, SpellingsOfOtherProgramsAreGivenInTheEnginesOwn) {
  expectHints({
      {"ln(x)", "ln は log と書きます"},
      {"|x-1|", "|x-1| は abs(x-1) と書きます"},
      {"2*(|x|)", "|x| は abs(x) と書きます"},
      {"1e-3", "1e-3 は 0.001 と書きます"},
      {"x*2.5E+4", "2.5E+4 は 25000 と書きます"},
      {"12.5e-1", "12.5e-1 は 1.25 と書きます"},
      {"3e-12", "3e-12 は 3*10^(-12) と書きます"},
      {"2x", "2x は 2*x と書きます"},
      {"1+3sin(x)", "3sin は 3*sin と書きます"},
      {"2e", "2e は 2*e と書きます"},
      {"x²", "x² は x^2 と書きます"},
      {"a+x¹⁰", "x¹⁰ は x^10 と書きます"},
      {"(x+1)³", "³ は ^3 と書きます"},
  });
}

TEST(FormulaHints, TheFirstSlipFromTheLeftIsNamed) {
  expectHints({
      {"2x+sinx", "2x は 2*x と書きます"},
      {"sinx+2x", "sinx は変数です。sin(x) のことですか?"},
      {"-x^2^3", "-x^2 は (-x)^2 と計算されます。-(x^2) と書けます"},
  });
}

TEST(FormulaHints, WhatTheEngineReadsAsMeantHasNone) {
  for (const char* formula : {"", "-(x^2)", "2-x^2", "x^2", "(2^3)^2", "2^(3^2)", "sin(x)",
                              "log10(x)", "cosd(x)", "sinh(x)", "cost1t", "intercept*x", "x|a",
                              "a|b", "x*e-3", "2*e", "\"|2x|\"", "a[2x]", "exp(-(x^2))*abs(x)"})
    EXPECT_EQ(formulaHint(QString::fromUtf8(formula)), QString()) << formula;
}

} // namespace
