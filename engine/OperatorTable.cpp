#include "OperatorTable.h"

#include <bit>
#include <utility>

namespace {

using F = OpForm;

constexpr Operator grouping(const char* text, std::uint8_t precedence) {
  return {text, F::Grouping, precedence, nullptr, nullptr};
}
// Plain functions around the operations: the operation is a constant here, so the call is
// direct (gValue is final) instead of going through a pointer to a virtual member.
template <int (gValue::*Operation)()> int applyPrefix(gValue& operand) {
  return (operand.*Operation)();
}
template <int (gValue::*Operation)(const gValue)> int applyInfix(gValue& left, gValue&& right) {
  return (left.*Operation)(std::move(right));
}

template <int (gValue::*Operation)()>
constexpr Operator prefix(const char* text, std::uint8_t precedence) {
  return {text, F::Prefix, precedence, &applyPrefix<Operation>, nullptr};
}
template <int (gValue::*Operation)(const gValue)>
constexpr Operator infix(const char* text, std::uint8_t precedence) {
  return {text, F::Infix, precedence, nullptr, &applyInfix<Operation>};
}

} // namespace

constexpr std::array<Operator, OperatorCount> operators = {{
    {"", F::Reserved, 0, nullptr, nullptr},
    {"", F::Reserved, 1, nullptr, nullptr},
    grouping("(", 2),
    grouping(")", 3),
    prefix<&gValue::execNOT>("!", 4),
    infix<&gValue::execOR>("|", 5),
    infix<&gValue::execAND>("&", 6),
    infix<&gValue::execEQUAL>("==", 7),
    infix<&gValue::execNOTEQ>("!=", 7),
    infix<&gValue::execSMALL>("<", 7),
    infix<&gValue::execSMALLEQ>("<=", 7),
    infix<&gValue::execLARGE>(">", 7),
    infix<&gValue::execLARGEEQ>(">=", 7),
    infix<&gValue::execPLUS>("+", 13),
    infix<&gValue::execMINUS>("-", 13),
    infix<&gValue::execTIMES>("*", 15),
    infix<&gValue::execDIVID>("/", 15),
    infix<&gValue::execMOD>("%", 15),
    infix<&gValue::execPOWER>("^", 18),
    prefix<&gValue::execSIN>("sin", 19),
    prefix<&gValue::execCOS>("cos", 19),
    prefix<&gValue::execTAN>("tan", 19),
    prefix<&gValue::execEXP>("exp", 19),
    prefix<&gValue::execLOG10>("log10", 19),
    prefix<&gValue::execLOG>("log", 19),
    prefix<&gValue::execLOG2>("log2", 19),
    prefix<&gValue::execASIN>("asin", 19),
    prefix<&gValue::execACOS>("acos", 19),
    prefix<&gValue::execATAN>("atan", 19),
    prefix<&gValue::execSQRT>("sqrt", 19),
    prefix<&gValue::execABS>("abs", 19),
    prefix<&gValue::execCEIL>("ceil", 19),
    prefix<&gValue::execFLOOR>("floor", 19),
    prefix<&gValue::execINT>("int", 19),
    // Each degree function is a class of its own, tighter than the radian functions.
    prefix<&gValue::execSIND>("sind", 34),
    prefix<&gValue::execCOSD>("cosd", 35),
    prefix<&gValue::execTAND>("tand", 36),
    prefix<&gValue::execASIND>("asind", 37),
    prefix<&gValue::execACOSD>("acosd", 38),
    prefix<&gValue::execATAND>("atand", 39),
    prefix<&gValue::execINVERT>("-", 40),
}};

namespace {

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

} // namespace

int findOperator(const char* text) {
  static constexpr std::array<std::uint8_t, 256> singles = codesOfSingleBytes();
  static constexpr std::array<std::uint64_t, 256> candidates = candidatesByFirstByte();
  if (text[0] == '\0') return OpReserved;
  // Most operator tokens are one byte long; no one-byte text appears twice in the table.
  if (text[1] == '\0') return singles[static_cast<unsigned char>(text[0])];
  // Otherwise the lowest code among the texts with this first byte that equals the text.
  for (std::uint64_t set = candidates[static_cast<unsigned char>(text[0])]; set != 0;
       set &= set - 1) {
    const int code = std::countr_zero(set);
    if (sameText(operators[code].text, text)) return code;
  }
  return OpUnknown;
}
