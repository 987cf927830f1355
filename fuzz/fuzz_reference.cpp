// Arbitrary reference texts through the six value operations. The first input byte
// chooses automatic creation (bit 0), the values written (bits 1-3) and whether the reads
// come before the writes (bit 4); the rest is the reference, also written as a text.
#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t longValues[] = {0,
                                       1,
                                       -1,
                                       42,
                                       7,
                                       -100,
                                       std::numeric_limits<std::int32_t>::max(),
                                       std::numeric_limits<std::int32_t>::min()};
constexpr double doubleValues[] = {0.0,
                                   2.9,
                                   -2.9,
                                   1e300,
                                   -1e300,
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN()};

// A failed reference or a missing variable leaves the output as it was; a kind mismatch in
// the store writes the zero of the kind (one in a subscript expression writes nothing).
template <class Number> void requireNumberOutput(int status, Number value, Number before) {
  fuzz::requireStatus(status);
  if (status == ev::Ok) return;
  const bool unchanged = std::memcmp(&value, &before, sizeof value) == 0;
  fuzz::require(unchanged || (status == ev::TypeMismatch && value == Number{0}));
}

// A text read fills at most 255 bytes and its terminator, and writes nothing on failure.
void readText(TCalcSystem& system, const char* ref) {
  fuzz::GuardedBuffer text;
  text.fillWithPattern();
  const int status = system.GetStringValue(ref, text.data());
  fuzz::requireStatus(status);
  if (status == ev::Ok)
    fuzz::requireText(text, 255);
  else
    fuzz::require(text.guardsIntact() && text.holdsPattern());
}

void readAll(TCalcSystem& system, const char* ref) {
  constexpr std::int32_t longBefore = -123456;
  std::int32_t longValue = longBefore;
  requireNumberOutput(system.GetLongValue(ref, longValue), longValue, longBefore);

  constexpr double doubleBefore = -1234.5;
  double doubleValue = doubleBefore;
  requireNumberOutput(system.GetFloatValue(ref, doubleValue), doubleValue, doubleBefore);
  readText(system, ref);
}

void writeAll(TCalcSystem& system, const char* ref, unsigned pick) {
  fuzz::requireStatus(system.SetLongValue(ref, longValues[pick]));
  fuzz::requireStatus(system.SetFloatValue(ref, doubleValues[pick]));
  const int status = system.SetStringValue(ref, ref);
  fuzz::requireStatus(status);
  if (std::strlen(ref) > 255) fuzz::require(status != ev::Ok);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const auto ref = fuzz::terminated(data + 1, size - 1);
  TCalcSystem system;
  fuzz::presetVariables(system);
  system.SetAutoCreate((choice & 1u) != 0);
  const unsigned pick = (choice >> 1) & 7u;
  if ((choice & 16u) != 0) readAll(system, ref.data());
  writeAll(system, ref.data(), pick);
  readAll(system, ref.data());
  return 0;
}
