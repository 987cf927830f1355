// Character classes of the C locale, on single bytes. The engine must not depend on the
// process locale, so it never uses <cctype>; bytes 0x80-0xFF belong to no class.
#pragma once

#include <array>
#include <cstdint>

namespace charclass {

enum : std::uint8_t {
  Space = 1 << 0,
  Letter = 1 << 1,
  Digit = 1 << 2,
  NameSign = 1 << 3, // the characters that join letters and digits in a scanned name
  CalcOp = 1 << 4,   // the arithmetic operator characters
  LogicOp = 1 << 5,  // the other operator characters
};

constexpr std::array<std::uint8_t, 256> makeTable() {
  std::array<std::uint8_t, 256> t{};
  for (int c : {' ', '\t', '\n', '\v', '\f', '\r'})
    t[c] |= Space;
  for (int c = 'A'; c <= 'Z'; ++c)
    t[c] |= Letter;
  for (int c = 'a'; c <= 'z'; ++c)
    t[c] |= Letter;
  for (int c = '0'; c <= '9'; ++c)
    t[c] |= Digit;
  for (int c : {'#', '$', '[', ']', '_'})
    t[c] |= NameSign;
  for (int c : {'%', '*', '+', '-', '/', '^'})
    t[c] |= CalcOp;
  for (int c : {'!', '&', '<', '=', '>', '|'})
    t[c] |= LogicOp;
  return t;
}

inline constexpr std::array<std::uint8_t, 256> table = makeTable();

constexpr bool is(char c, std::uint8_t cls) {
  return table[static_cast<unsigned char>(c)] & cls;
}

constexpr bool isSpace(char c) {
  return is(c, Space);
}
constexpr bool isLetter(char c) {
  return is(c, Letter);
}
constexpr bool isDigit(char c) {
  return is(c, Digit);
}
constexpr bool isAlnum(char c) {
  return is(c, Letter | Digit);
}

// A character of a variable name proper: letter, digit, "_", "$" or "#" (not the brackets).
constexpr bool isNameChar(char c) {
  return isAlnum(c) || c == '_' || c == '$' || c == '#';
}

} // namespace charclass
