// The shape of a variable reference that needs no resolving.
#pragma once

#include "CharClass.h"
#include "TextBuffer.h"

#include <cstddef>

// Whether the reference is a name alone, without white space, subscripts or anything after
// it, and short enough for a 256-byte name buffer: then resolving it gives the reference
// itself with no subscripts, and it can go to the store as it stands.
inline bool isBareName(const char* ref) {
  const char* p = ref;
  while (charclass::isNameChar(*p))
    ++p;
  return *p == '\0' && static_cast<std::size_t>(p - ref) < BufferSize;
}
