// The double value of a literal's digits, shared by the evaluator and the formula cache.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

namespace literal {

// The most decimal digits whose whole number is always an exact double.
inline constexpr int ExactDigits = 15;

// The double value of a literal's digits; a second "." ends the number (1.2.3 is 1.2).
// Up to ExactDigits digits, the digits as a whole number and the power of ten of the
// decimals are both exact doubles, so one division gives the correctly rounded value at
// once; longer literals are rounded by from_chars, which unlike strtod does not depend on
// the locale.
inline double literalValue(const char* text) {
  static constexpr double powersOfTen[ExactDigits + 1] = {
      1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '.') {
      if (point) break;
      point = true;
      continue;
    }
    if (++count > ExactDigits) {
      double value = 0.0;
      std::from_chars(text, text + std::strlen(text), value);
      return value;
    }
    digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    decimals += point ? 1 : 0;
  }
  return static_cast<double>(digits) / powersOfTen[decimals];
}

} // namespace literal

using literal::literalValue;
