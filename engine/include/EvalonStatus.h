// The status codes of the Evalon engine: every operation of the engine reports one of
// these, as an int result or an unsigned out-parameter. 0 is success; the first non-zero
// code of a computation reaches the caller unchanged.
#pragma once

namespace ev {

enum Status : int {
  Ok = 0,
  TypeMismatch = 1,   // operand or variable kinds do not suit the operation
  BadName = 2,        // invalid variable name
  NoVariable = 3,     // variable missing while automatic creation is off
  TextTooLong = 4,    // a text does not fit the 255-byte buffers
  OutOfLongRange = 5, // outside the signed 32-bit range
  DivisionByZero = 6,
  UndefinedOperator = 7,
  MissingOperator = 8, // unmatched ")" or not exactly one value left
  MissingOperand = 9,
  EmptyFormula = 10,
  IllegalCharacter = 11,
  SubscriptRange = 12, // a subscript value below 1
  TooManySubscripts = 13,
  MissingOpenBracket = 14,  // "]" without "["
  MissingCloseBracket = 15, // "[" without "]"
  UnclosedString = 16,      // a string literal without its closing quote
  LiteralTooLong = 17,      // a token longer than 255 bytes
  MissingEquals = 18,       // a statement without "="
  MissingTarget = 19,
  DomainError = 20, // argument outside a function's domain
  NoSystem = -1,    // no variable store, or no library instance
};

// The highest code that has a message; -1 has none.
inline constexpr int LastStatus = DomainError;

} // namespace ev
