// TokenArray: the token records of one formula, kept on the stack. A record carries a
// 256-byte text, so building all of them before every scan would cost more than scanning
// a short formula: the storage stays raw, a record is constructed only when the scanner
// fills it, and only filled records are read.
#pragma once

#include "item.h"

#include <cstddef>
#include <new>
#include <type_traits>

class TokenArray {
public:
  // The most tokens a formula may have.
  static constexpr int Capacity = 128;

  TokenArray() = default;
  TokenArray(const TokenArray&) = delete;
  TokenArray& operator=(const TokenArray&) = delete;

  // Constructs record n afresh (kind 0, empty text, operator code 0) over whatever was
  // there; n < Capacity.
  item& make(int n) { return *::new (static_cast<void*>(slot(n))) item; }

  // Record n, once make has constructed it.
  item& operator[](int n) { return *std::launder(reinterpret_cast<item*>(slot(n))); }

private:
  // Records are dropped with the storage, never destroyed one by one.
  static_assert(std::is_trivially_destructible_v<item>);

  unsigned char* slot(int n) { return storage + static_cast<std::size_t>(n) * sizeof(item); }

  alignas(item) unsigned char storage[Capacity * sizeof(item)];
};
