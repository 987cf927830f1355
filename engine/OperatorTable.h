// The operators of the formula language: their codes, texts, forms and precedence
// classes, as one table beside the enumeration of the codes.
#pragma once

#include "gValue.h"

#include <array>
#include <cstdint>

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
  int (*infix)(gValue& left, gValue&& right);
};

inline constexpr int OperatorCount = 41;
extern const std::array<Operator, OperatorCount> operators;

// The code whose text equals the given one (code 0 for the empty text), or OpUnknown.
// Only codes 0-39 have texts that can match.
int findOperator(const char* text);

// The precedence class of a code; codes outside the table have class 0.
inline int precedenceOf(int code) {
  return code >= 0 && code < OperatorCount ? operators[code].precedence : 0;
}
