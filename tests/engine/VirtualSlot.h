// The slot of a virtual operation in its class's table, read from the Itanium C++ ABI
// representation of a pointer to member function (the table offset in bytes plus one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

template <class Member> int virtualSlot(Member member) {
  struct Representation {
    std::uintptr_t pointer;
    std::ptrdiff_t adjustment;
  };
  static_assert(sizeof(Member) == sizeof(Representation));
  Representation r;
  std::memcpy(&r, &member, sizeof r);
  if ((r.pointer & 1) == 0) return -1; // not virtual
  return static_cast<int>((r.pointer - 1) / sizeof(void*));
}
