// Arbitrary formula bytes through the four evaluation entry points, in long mode and in
// double mode, on a store with a few variables already set.
#include "FuzzSupport.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

struct Outcome {
  std::int32_t longValue;
  std::uint32_t longErr;
  double doubleValue;
  std::uint32_t doubleErr;
  std::uint32_t stringErr;
};

std::int32_t evalLong(TCalcSystem& system, const char* formula, std::uint32_t& err) {
  const std::int32_t value = system.calcLongFormula(formula, err);
  fuzz::requireStatus(err);
  fuzz::require(fuzz::succeeded(err) || value == 0);
  return value;
}

double evalDouble(TCalcSystem& system, const char* formula, std::uint32_t& err) {
  const double value = system.calcDoubleFormula(formula, err);
  fuzz::requireStatus(err);
  fuzz::require(fuzz::succeeded(err) || value == 0.0);
  return value;
}

// The result buffer is written only on success, and never beyond its 256 bytes.
std::uint32_t evalString(TCalcSystem& system, const char* formula) {
  fuzz::GuardedBuffer result;
  result.fillWithPattern();
  std::uint32_t err = 0;
  system.calcStringFormula(result.data(), formula, err);
  fuzz::requireStatus(err);
  if (fuzz::succeeded(err))
    fuzz::requireText(result, 254);
  else
    fuzz::require(result.guardsIntact() && result.holdsPattern());
  return err;
}

// The entry points evaluate alike and differ only in the conversion of the one result: a
// number fits a long when its truncation does, and a text is no number.
void requireAgreement(const Outcome& o) {
  if (!fuzz::succeeded(o.doubleErr)) fuzz::require(o.longErr == o.doubleErr);
  if (fuzz::succeeded(o.longErr)) {
    fuzz::require(fuzz::succeeded(o.doubleErr));
    fuzz::require(o.doubleValue >= -2147483648.0 && o.doubleValue <= 2147483647.0);
    fuzz::require(o.longValue == static_cast<std::int32_t>(o.doubleValue));
  }
  if (fuzz::succeeded(o.doubleErr)) fuzz::require(o.stringErr == ev::TypeMismatch);
  if (fuzz::succeeded(o.stringErr))
    fuzz::require(o.longErr == ev::TypeMismatch && o.doubleErr == ev::TypeMismatch);
}

// Double mode for this call only, with the same evaluation as calcDoubleFormula under the
// flag.
void requireDoubleAs(TCalcSystem& system, const char* formula, const Outcome& flagOn) {
  std::uint32_t err = 0;
  const double value = system.calcDoubleFormulaAs(formula, err);
  fuzz::requireStatus(err);
  fuzz::require(!system.GetFloatFlag());
  fuzz::require(err == flagOn.doubleErr);
  fuzz::require(std::memcmp(&value, &flagOn.doubleValue, sizeof value) == 0 ||
                (std::isnan(value) && std::isnan(flagOn.doubleValue)));
}

Outcome evalInMode(TCalcSystem& system, const char* formula, bool floatFlag) {
  system.SetFloatFlag(floatFlag);
  Outcome o{};
  o.longValue = evalLong(system, formula, o.longErr);
  o.doubleValue = evalDouble(system, formula, o.doubleErr);
  o.stringErr = evalString(system, formula);
  fuzz::require(system.GetFloatFlag() == floatFlag);
  requireAgreement(o);
  return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto formula = fuzz::terminated(data, size);
  TCalcSystem system;
  fuzz::presetVariables(system);
  evalInMode(system, formula.data(), false);
  const Outcome flagOn = evalInMode(system, formula.data(), true);
  requireDoubleAs(system, formula.data(), flagOn);
  return 0;
}
