// The operators of the formula language: their codes, texts, forms and precedence
// classes, as one table beside the enumeration of the codes.
#pragma once

#include "gValue.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

enum OpeCode : int {
  OpReserved = 0,
  OpUnknown = 1, // a text that matches no operator
  OpOpen = 2,
  OpClose = 3,
  OpNot = 4,
  OpOr = 5,
  OpAnd = 6,
  OpEqual = 7,
  OpNotEqual = 8,
  OpSmall = 9,
  OpSmallEqual = 10,
  OpLarge = 11,
  OpLargeEqual = 12,
  OpPlus = 13,
  OpMinus = 14,
  OpTimes = 15,
  OpDivide = 16,
  OpMod = 17,
  OpPower = 18,
  OpSin = 19,
  OpCos,
  OpTan,
  OpExp,
  OpLog10,
  OpLog,
  OpLog2,
  OpAsin,
  OpAcos,
  OpAtan,
  OpSqrt,
  OpAbs,
  OpCeil,
  OpFloor,
  OpInt,
  OpSind,
  OpCosd,
  OpTand,
  OpAsind,
  OpAcosd,
  OpAtand = 39,
  OpInvert = 40, // "-" in prefix position; given only by the operator conversion
};

// The first and last code of the function names.
inline constexpr int FirstFunction = OpSin;
inline constexpr int LastFunction = OpAtand;

enum class OpForm : std::uint8_t { Reserved, Grouping, Prefix, Infix };

struct Operator {
  const char* text;
  OpForm form;
  std::uint8_t precedence; // a larger class binds tighter
  int (*prefix)(gValue& operand);
  int (*infix)(gValue& left, const gValue& right);
};

inline constexpr int OperatorCount = OpInvert + 1;
static_assert(LastFunction - FirstFunction + 1 == 21, "the codes of the 21 function names");

namespace optable {

constexpr Operator grouping(const char* text, std::uint8_t precedence) {
  return {text, OpForm::Grouping, precedence, nullptr, nullptr};
}
// Plain functions around the operations: the operation is a constant here, so the call is
// direct (gValue is final) instead of going through a pointer to a virtual member.
template <int (gValue::*Operation)()> int applyPrefix(gValue& operand) {
  return (operand.*Operation)();
}
template <int (gValue::*Operation)(const gValue&)>
int applyInfix(gValue& left, const gValue& right) {
  return (left.*Operation)(right);
}

template <int (gValue::*Operation)()>
constexpr Operator prefix(const char* text, std::uint8_t precedence) {
  return {text, OpForm::Prefix, precedence, &applyPrefix<Operation>, nullptr};
}
template <int (gValue::*Operation)(const gValue&)>
constexpr Operator infix(const char* text, std::uint8_t precedence) {
  return {text, OpForm::Infix, precedence, nullptr, &applyInfix<Operation>};
}

} // namespace optable

inline constexpr std::array<Operator, OperatorCount> operators = {{
    {"", OpForm::Reserved, 0, nullptr, nullptr},
    {"", OpForm::Reserved, 1, nullptr, nullptr},
    optable::grouping("(", 2),
    optable::grouping(")", 3),
    optable::prefix<&gValue::execNOT>("!", 4),
    optable::infix<&gValue::logicalOr>("|", 5),
    optable::infix<&gValue::logicalAnd>("&", 6),
    optable::infix<&gValue::equal>("==", 7),
    optable::infix<&gValue::notEqual>("!=", 7),
    optable::infix<&gValue::smaller>("<", 7),
    optable::infix<&gValue::smallerOrEqual>("<=", 7),
    optable::infix<&gValue::larger>(">", 7),
    optable::infix<&gValue::largerOrEqual>(">=", 7),
    optable::infix<&gValue::plus>("+", 13),
    optable::infix<&gValue::minus>("-", 13),
    optable::infix<&gValue::times>("*", 15),
    optable::infix<&gValue::divide>("/", 15),
    optable::infix<&gValue::modulo>("%", 15),
    optable::infix<&gValue::power>("^", 18),
    optable::prefix<&gValue::execSIN>("sin", 19),
    optable::prefix<&gValue::execCOS>("cos", 19),
    optable::prefix<&gValue::execTAN>("tan", 19),
    optable::prefix<&gValue::execEXP>("exp", 19),
    optable::prefix<&gValue::execLOG10>("log10", 19),
    optable::prefix<&gValue::execLOG>("log", 19),
    optable::prefix<&gValue::execLOG2>("log2", 19),
    optable::prefix<&gValue::execASIN>("asin", 19),
    optable::prefix<&gValue::execACOS>("acos", 19),
    optable::prefix<&gValue::execATAN>("atan", 19),
    optable::prefix<&gValue::execSQRT>("sqrt", 19),
    optable::prefix<&gValue::execABS>("abs", 19),
    optable::prefix<&gValue::execCEIL>("ceil", 19),
    optable::prefix<&gValue::execFLOOR>("floor", 19),
    optable::prefix<&gValue::execINT>("int", 19),
    // Each degree function is a class of its own, tighter than the radian functions.
    optable::prefix<&gValue::execSIND>("sind", 34),
    optable::prefix<&gValue::execCOSD>("cosd", 35),
    optable::prefix<&gValue::execTAND>("tand", 36),
    optable::prefix<&gValue::execASIND>("asind", 37),
    optable::prefix<&gValue::execACOSD>("acosd", 38),
    optable::prefix<&gValue::execATAND>("atand", 39),
    optable::prefix<&gValue::execINVERT>("-", 40),
}};

namespace optable {

// The form that the operator of a code has.
constexpr OpForm formOf(int code) {
  if (code == OpReserved || code == OpUnknown) return OpForm::Reserved;
  if (code == OpOpen || code == OpClose) return OpForm::Grouping;
  if (code >= OpOr && code <= OpPower) return OpForm::Infix;
  return OpForm::Prefix;
}

// Entry n of the table is the operator of code n: it has the code's form and a text. An entry
// left out would be empty and fail here. Whether it holds the operation of its form is not
// asked: a sanitizing build cannot compare an operation's address at compile time.
constexpr bool entriesMatchTheirCodes() {
  for (int code = 0; code < OperatorCount; ++code) {
    const Operator& entry = operators[code];
    if (entry.text == nullptr || entry.form != formOf(code)) return false;
  }
  return true;
}

} // namespace optable

static_assert(optable::entriesMatchTheirCodes(), "the operator of code n is entry n of the table");

// The code whose text equals the given one (code 0 for the empty text), or OpUnknown.
// Only codes 0-39 have texts that can match. Defined here because it runs for every
// operator and name of every formula evaluation.
namespace optable {

// For each first byte, the codes whose text begins with it (bit n for code n), so that a
// lookup compares against a handful of texts instead of all forty. Code 40 shares its text
// with code 14 and is never looked up by text.
constexpr std::array<std::uint64_t, 256> candidatesByFirstByte() {
  std::array<std::uint64_t, 256> table{};
  for (int code = 0; code < OpInvert; ++code)
    table[static_cast<unsigned char>(operators[code].text[0])] |= std::uint64_t{1} << code;
  return table;
}

// The code of every one-byte text, and OpUnknown for bytes that are no operator alone.
constexpr std::array<std::uint8_t, 256> codesOfSingleBytes() {
  std::array<std::uint8_t, 256> table{};
  table.fill(OpUnknown);
  for (int code = OpInvert - 1; code > OpUnknown; --code)
    if (operators[code].text[1] == '\0')
      table[static_cast<unsigned char>(operators[code].text[0])] = static_cast<std::uint8_t>(code);
  return table;
}

constexpr bool sameText(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

} // namespace optable

inline int findOperator(const char* text) {
  static constexpr std::array<std::uint8_t, 256> singles = optable::codesOfSingleBytes();
  static constexpr std::array<std::uint64_t, 256> candidates = optable::candidatesByFirstByte();
  if (text[0] == '\0') return OpReserved;
  // Most operator tokens are one byte long; no one-byte text appears twice in the table.
  if (text[1] == '\0') return singles[static_cast<unsigned char>(text[0])];
  // Otherwise the lowest code among the texts with this first byte that equals the text.
  for (std::uint64_t set = candidates[static_cast<unsigned char>(text[0])]; set != 0;
       set &= set - 1) {
    const int code = std::countr_zero(set);
    if (optable::sameText(operators[code].text, text)) return code;
  }
  return OpUnknown;
}

// The precedence class of a code; codes outside the table have class 0.
inline int precedenceOf(int code) {
  return code >= 0 && code < OperatorCount ? operators[code].precedence : 0;
}
