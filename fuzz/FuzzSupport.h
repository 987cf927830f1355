// What the fuzz targets share: the input as a C string, guarded output buffers and the
// invariants every engine call must keep. A broken invariant aborts, so libFuzzer keeps
// the input as a crash.
#pragma once

#include "EvalonStatus.h"
#include "TCalcSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fuzz {

inline void require(bool holds) {
  if (!holds) std::abort();
}

inline bool isEngineStatus(int status) {
  return (status >= ev::Ok && status <= ev::LastStatus) || status == ev::NoSystem;
}

inline void requireStatus(int status) {
  require(isEngineStatus(status));
}

inline void requireStatus(std::uint32_t err) {
  require(isEngineStatus(static_cast<int>(err)));
}

inline bool succeeded(std::uint32_t err) {
  return static_cast<int>(err) == ev::Ok;
}

// The bytes with a terminator, in an allocation of exactly that size, so that reading
// past the terminator is an overflow that AddressSanitizer reports. An embedded NUL ends
// the text early, as it would for any C caller.
inline std::vector<char> terminated(const std::uint8_t* data, std::size_t size) {
  std::vector<char> text(size + 1);
  if (size > 0) std::memcpy(text.data(), data, size);
  text[size] = '\0';
  return text;
}

// A 256-byte output buffer between two canary zones. The engine may write only inside
// it; the zones stay in the same allocation so that an overrun changes them instead of
// being stopped by AddressSanitizer before it can be checked.
class GuardedBuffer {
public:
  static constexpr std::size_t Size = 256;

  GuardedBuffer() { std::memset(bytes, Canary, sizeof bytes); }
  // Fills the buffer itself with a pattern, to tell whether the engine wrote it.
  void fillWithPattern() { std::memset(data(), Pattern, Size); }
  char* data() { return bytes + Guard; }
  bool guardsIntact() const { return zoneIntact(0) && zoneIntact(Guard + Size); }
  bool holdsPattern() const {
    for (std::size_t n = 0; n < Size; ++n)
      if (bytes[Guard + n] != Pattern) return false;
    return true;
  }
  // The length of the terminated text in the buffer, or Size when there is no terminator.
  std::size_t textLength() const {
    const void* end = std::memchr(bytes + Guard, '\0', Size);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - (bytes + Guard)) : Size;
  }

private:
  static constexpr std::size_t Guard = 64;
  static constexpr char Canary = '\x5A';
  static constexpr char Pattern = '\x3C';

  bool zoneIntact(std::size_t from) const {
    for (std::size_t n = from; n < from + Guard; ++n)
      if (bytes[n] != Canary) return false;
    return true;
  }

  char bytes[Guard + Size + Guard];
};

// A text result: no write outside the buffer, and at most maxLength bytes before its
// terminator.
inline void requireText(const GuardedBuffer& buffer, std::size_t maxLength) {
  require(buffer.guardsIntact());
  require(buffer.textLength() <= maxLength);
}

// The variables of a client that has already been at work: the application's double x,
// a long, a text and elements with one and two subscripts.
inline void presetVariables(TCalcSystem& system) {
  require(system.SetFloatValue("x", 0.5) == ev::Ok);
  require(system.SetFloatValue("x#", 2.5) == ev::Ok);
  require(system.SetLongValue("n", 42) == ev::Ok);
  require(system.SetStringValue("s$", "abc") == ev::Ok);
  require(system.SetLongValue("a[1]", 3) == ev::Ok);
  require(system.SetFloatValue("a[2][3]", 1e10) == ev::Ok);
}

} // namespace fuzz
