// Small helpers for the tests that evaluate formulas on a calculation system.
#pragma once

#include "TCalcSystem.h"

#include <cstdint>
#include <string>

struct LongResult {
  std::int32_t value;
  std::uint32_t err;
};
struct DoubleResult {
  double value;
  std::uint32_t err;
};
struct StringResult {
  std::string value;
  std::uint32_t err;
};

inline LongResult longOf(TCalcSystem& s, const std::string& formula) {
  std::uint32_t err = 12345;
  const std::int32_t value = s.calcLongFormula(formula.c_str(), err);
  return {value, err};
}

inline DoubleResult doubleOf(TCalcSystem& s, const std::string& formula) {
  std::uint32_t err = 12345;
  const double value = s.calcDoubleFormula(formula.c_str(), err);
  return {value, err};
}

inline DoubleResult doubleAsOf(TCalcSystem& s, const std::string& formula) {
  std::uint32_t err = 12345;
  const double value = s.calcDoubleFormulaAs(formula.c_str(), err);
  return {value, err};
}

inline StringResult stringOf(TCalcSystem& s, const std::string& formula) {
  char buffer[256] = "untouched";
  std::uint32_t err = 12345;
  s.calcStringFormula(buffer, formula.c_str(), err);
  return {buffer, err};
}

// The status alone, in long mode and in double mode.
inline std::uint32_t longErr(TCalcSystem& s, const std::string& formula) {
  return longOf(s, formula).err;
}
inline std::uint32_t doubleAsErr(TCalcSystem& s, const std::string& formula) {
  return doubleAsOf(s, formula).err;
}
