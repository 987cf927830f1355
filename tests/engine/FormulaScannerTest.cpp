#include "FormulaScanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Tokens = std::vector<std::pair<int, std::string>>;

// Scans a formula that fits the token array and yields (kind, text) of each token.
Tokens scan(const char* formula) {
  TokenArray items;
  const ScanResult result = scanFormula(formula, items);
  EXPECT_EQ(result.fault, ScanFault::None) << formula;
  Tokens tokens;
  for (int i = 0; i < result.count; ++i)
    tokens.emplace_back(items[i].getType(), items[i].text());
  return tokens;
}

// A record that no scan of the test writes, to see that a scan leaves it alone.
void markAsSentinel(item& record) {
  record.setType(9);
  record.setItem("sentinel");
}

void expectSentinel(const item& record) {
  EXPECT_EQ(record.getType(), 9);
  EXPECT_STREQ(record.text(), "sentinel");
}

// The formula in a heap block of exactly its size, so reading past the terminator is caught.
std::unique_ptr<char[]> exactCopy(const std::string& text) {
  auto copy = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

} // namespace

TEST(FormulaScanner, EmptyFormulasGiveNoTokens) {
  EXPECT_TRUE(scan("").empty());
  EXPECT_TRUE(scan(" \t\n\v\f\r").empty());
  EXPECT_TRUE(scan(nullptr).empty());
}

TEST(FormulaScanner, OperatorRunsAndParentheses) {
  EXPECT_EQ(
      scan("sin(x)*2^3"),
      (Tokens{{1, "sin"}, {7, "("}, {1, "x"}, {7, ")"}, {7, "*"}, {2, "2"}, {7, "^"}, {2, "3"}}));
  EXPECT_EQ(scan("2*-3"), (Tokens{{2, "2"}, {7, "*-"}, {2, "3"}}));
  EXPECT_EQ(scan("2* -3"), (Tokens{{2, "2"}, {7, "*"}, {7, "-"}, {2, "3"}}));
  EXPECT_EQ(scan("a<=b|!c"), (Tokens{{1, "a"}, {7, "<="}, {1, "b"}, {7, "|!"}, {1, "c"}}));
  EXPECT_EQ(scan("-(("), (Tokens{{7, "-"}, {7, "("}, {7, "("}}));
}

TEST(FormulaScanner, NamesTakeBracketsWholeAndTheLastSigilDecides) {
  EXPECT_EQ(scan("a#+b$"), (Tokens{{3, "a#"}, {7, "+"}, {5, "b$"}}));
  EXPECT_EQ(scan("x[i + 1]*2"), (Tokens{{1, "x[i + 1]"}, {7, "*"}, {2, "2"}}));
  EXPECT_EQ(scan("b[2][j*3] c"), (Tokens{{1, "b[2][j*3]"}, {1, "c"}}));
  EXPECT_EQ(scan("a[\"q\" (x)]"), (Tokens{{1, "a[\"q\" (x)]"}}));
  EXPECT_EQ(scan("a[i#]"), (Tokens{{3, "a[i#]"}}));
  EXPECT_EQ(scan("a#[s$]"), (Tokens{{5, "a#[s$]"}}));
  EXPECT_EQ(scan("a [1]"), (Tokens{{1, "a"}, {0, "["}, {2, "1"}, {0, "]"}}));
  EXPECT_EQ(scan("_x #y log10"), (Tokens{{0, "_"}, {1, "x"}, {0, "#"}, {1, "y"}, {1, "log10"}}));
}

TEST(FormulaScanner, NumbersHaveNoSignNoExponentAndAnyPoints) {
  EXPECT_EQ(scan("1.2.3 12 3."), (Tokens{{4, "1.2.3"}, {2, "12"}, {4, "3."}}));
  EXPECT_EQ(scan(".5"), (Tokens{{0, "."}, {2, "5"}}));
  EXPECT_EQ(scan("1e5"), (Tokens{{2, "1"}, {1, "e5"}}));
}

TEST(FormulaScanner, StringLiteralsAndStrayBytes) {
  EXPECT_EQ(scan("\"a b\" + \"c\""), (Tokens{{6, "\"a b\""}, {7, "+"}, {6, "\"c\""}}));
  EXPECT_EQ(scan("\"ab\"\"cd\""), (Tokens{{6, "\"ab\""}, {6, "\"cd\""}}));
  EXPECT_EQ(scan("\"x[(\"y"), (Tokens{{6, "\"x[(\""}, {1, "y"}}));
  EXPECT_EQ(scan("f,g;\x01"), (Tokens{{1, "f"}, {0, ","}, {1, "g"}, {0, ";"}, {0, "\x01"}}));
  // Double-byte characters are not recognised: each byte is a stray token of its own.
  EXPECT_EQ(scan("\x82\xa0x\xff"), (Tokens{{0, "\x82"}, {0, "\xa0"}, {1, "x"}, {0, "\xff"}}));
}

TEST(FormulaScanner, ReusedRecordsLoseTheirOperatorCode) {
  TokenArray items;
  items.make(0).setOpeType(13);
  items.make(1).setOpeType(14);
  EXPECT_EQ(scanFormula("1", items).count, 1);
  EXPECT_EQ(items[0].getOpeType(), 0);
  EXPECT_EQ(items[1].getOpeType(), 14);
}

TEST(FormulaScanner, TokenCountLimit) {
  std::string formula;
  for (int i = 0; i < TokenArray::Capacity; ++i)
    formula += "x ";
  // The record right behind the array catches a write past its end.
  struct {
    TokenArray items;
    item behind;
  } memory;
  markAsSentinel(memory.behind);
  ScanResult result = scanFormula(formula.c_str(), memory.items);
  EXPECT_EQ(result.count, TokenArray::Capacity);
  EXPECT_EQ(result.fault, ScanFault::None);

  formula += "y";
  result = scanFormula(formula.c_str(), memory.items);
  EXPECT_EQ(result.count, TokenArray::Capacity);
  EXPECT_EQ(result.fault, ScanFault::TooManyTokens);
  expectSentinel(memory.behind);
}

TEST(FormulaScanner, TokenLengthLimit) {
  const std::string longest(item::TextSize - 1, 'a');
  TokenArray items;
  ScanResult result = scanFormula(("1+" + longest).c_str(), items);
  EXPECT_EQ(result.count, 3);
  EXPECT_EQ(result.fault, ScanFault::None);
  EXPECT_EQ(items[2].text(), longest);

  markAsSentinel(items[2]);
  result = scanFormula(("1+" + longest + "9 2").c_str(), items);
  EXPECT_EQ(result.count, 2);
  EXPECT_EQ(result.fault, ScanFault::TokenTooLong);
  expectSentinel(items[2]);
}

TEST(FormulaScanner, UnclosedTokensRunToTheEndOfTheText) {
  TokenArray items;
  auto formula = exactCopy("1+\"ab");
  ScanResult result = scanFormula(formula.get(), items);
  EXPECT_EQ(result.count, 3);
  EXPECT_EQ(result.fault, ScanFault::UnclosedString);
  EXPECT_STREQ(items[2].text(), "\"ab");

  formula = exactCopy("a$[i + 1");
  result = scanFormula(formula.get(), items);
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.fault, ScanFault::UnclosedBracket);
  EXPECT_EQ(items[0].getType(), 5);
  EXPECT_STREQ(items[0].text(), "a$[i + 1");

  // Too long as well: the unclosed fault is reported and the token is not stored.
  formula = exactCopy("1 \"" + std::string(300, 'x'));
  result = scanFormula(formula.get(), items);
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.fault, ScanFault::UnclosedString);
  formula = exactCopy("a[" + std::string(300, ' '));
  EXPECT_EQ(scanFormula(formula.get(), items).fault, ScanFault::UnclosedBracket);
}

TEST(FormulaScanner, StringValueKeepsOnlyQuotedParts) {
  char dst[16];
  getStringValue("\"a b\"", dst);
  EXPECT_STREQ(dst, "a b");
  getStringValue("\"\"", dst);
  EXPECT_STREQ(dst, "");
  getStringValue("x\"ab\"y\"cd", dst);
  EXPECT_STREQ(dst, "abcd");
}

TEST(FormulaScanner, CharacterClasses) {
  char text[] = " \t\n\v\f\rz";
  EXPECT_EQ(strSkip(text), text + 6);
  EXPECT_EQ(strSkip(static_cast<const char*>(text + 6)), text + 6);
  EXPECT_STREQ(strSkip("\x85\xa0"), "\x85\xa0"); // no whitespace above 0x7f
  for (int b = 1; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(isCalcOperator(c), std::strchr("%*+-/^", c) != nullptr) << b;
    EXPECT_EQ(isOperator(c), std::strchr("%*+-/^!&<=>|", c) != nullptr) << b;
    const bool alnum = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9');
    EXPECT_EQ(isVarName(c), alnum || std::strchr("#$[]_", c) != nullptr) << b;
  }
}

TEST(Item, TextIsCopiedCutAndTerminated) {
  const item empty;
  EXPECT_EQ(empty.getType(), 0);
  EXPECT_STREQ(empty.text(), "");
  EXPECT_EQ(empty.getOpeType(), 0);

  item token(3, nullptr, 15);
  EXPECT_EQ(token.getType(), 3);
  EXPECT_STREQ(token.text(), "");
  EXPECT_EQ(token.getOpeType(), 15);

  token.setItem(std::string(300, 'q').c_str());
  EXPECT_EQ(std::string(token.text()), std::string(item::TextSize - 1, 'q'));
  token.setItem("abcdef", 3);
  char out[item::TextSize];
  std::memset(out, 'z', sizeof out);
  token.getItem(out);
  EXPECT_STREQ(out, "abc");
  token.setItem(token.text() + 1);
  EXPECT_STREQ(token.text(), "bc");
}

