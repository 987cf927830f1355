#include "OperatorTable.h"

#include <bit>

namespace {

using F = OpForm;

constexpr Operator grouping(const char* text, std::uint8_t precedence) {
  return {text, F::Grouping, precedence, nullptr, nullptr};
}
constexpr Operator prefix(const char* text, std::uint8_t precedence, int (gValue::*op)()) {
  return {text, F::Prefix, precedence, op, nullptr};
}
constexpr Operator infix(const char* text, std::uint8_t precedence,
                         int (gValue::*op)(const gValue)) {
  return {text, F::Infix, precedence, nullptr, op};
}

} // namespace

constexpr std::array<Operator, OperatorCount> operators = {{
    {"", F::Reserved, 0, nullptr, nullptr},
    {"", F::Reserved, 1, nullptr, nullptr},
    grouping("(", 2),
    grouping(")", 3),
    prefix("!", 4, &gValue::execNOT),
    infix("|", 5, &gValue::execOR),
    infix("&", 6, &gValue::execAND),
    infix("==", 7, &gValue::execEQUAL),
    infix("!=", 7, &gValue::execNOTEQ),
    infix("<", 7, &gValue::execSMALL),
    infix("<=", 7, &gValue::execSMALLEQ),
    infix(">", 7, &gValue::execLARGE),
    infix(">=", 7, &gValue::execLARGEEQ),
    infix("+", 13, &gValue::execPLUS),
    infix("-", 13, &gValue::execMINUS),
    infix("*", 15, &gValue::execTIMES),
    infix("/", 15, &gValue::execDIVID),
    infix("%", 15, &gValue::execMOD),
    infix("^", 18, &gValue::execPOWER),
    prefix("sin", 19, &gValue::execSIN),
    prefix("cos", 19, &gValue::execCOS),
    prefix("tan", 19, &gValue::execTAN),
    prefix("exp", 19, &gValue::execEXP),
    prefix("log10", 19, &gValue::execLOG10),
    prefix("log", 19, &gValue::execLOG),
    prefix("log2", 19, &gValue::execLOG2),
    prefix("asin", 19, &gValue::execASIN),
    prefix("acos", 19, &gValue::execACOS),
    prefix("atan", 19, &gValue::execATAN),
    prefix("sqrt", 19, &gValue::execSQRT),
    prefix("abs", 19, &gValue::execABS),
    prefix("ceil", 19, &gValue::execCEIL),
    prefix("floor", 19, &gValue::execFLOOR),
    prefix("int", 19, &gValue::execINT),
    // Each degree function is a class of its own, tighter than the radian functions.
    prefix("sind", 34, &gValue::execSIND),
    prefix("cosd", 35, &gValue::execCOSD),
    prefix("tand", 36, &gValue::execTAND),
    prefix("asind", 37, &gValue::execASIND),
    prefix("acosd", 38, &gValue::execACOSD),
    prefix("atand", 39, &gValue::execATAND),
    prefix("-", 40, &gValue::execINVERT),
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
