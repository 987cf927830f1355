// Resolving a reference text "name", "name[i]" or "name[i][j]" into one store call. Shared by
// the value operations and the evaluator, so that a formula's plain names take the same short
// way, inlined where they are read at every sample.
#pragma once

#include "CharClass.h"
#include "TCalcSystem.h"
#include "TVarSystem.h"
#include "TextBuffer.h"

#include <cstddef>
#include <cstdint>

// Whether the reference is a name alone, without white space, subscripts or anything after
// it, and short enough for a name buffer: then resolving it gives the reference itself with
// no subscripts, and it can go to the store as it stands. Every variable a formula reads
// by a plain name, such as the plotter's "x", takes this way.
inline bool isBareName(const char* ref) {
  const char* p = ref;
  while (charclass::isNameChar(*p))
    ++p;
  return *p == '\0' && static_cast<std::size_t>(p - ref) < BufferSize;
}

// The store call that reads a variable of the value's kind.
template <class Out> auto readInto(Out& value) {
  return [&value](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.GetValue(name, value, i, j);
  };
}

// Resolve the reference, then one store call with the bare name and the subscripts. On a
// failed resolution the store is not touched. A bare name needs no buffer and no frame.
template <class StoreCall> int TCalcSystem::resolve(const char* ref, StoreCall call) {
  if (!store) return ev::NoSystem;
  if (ref && isBareName(ref)) return call(*store, ref, 0, 0);
  return resolveSubscripted(ref ? ref : "", call);
}

template <class StoreCall> int TCalcSystem::resolveSubscripted(const char* ref, StoreCall call) {
  char name[BufferSize];
  std::uint32_t i, j;
  if (int status = getIndex(ref, name, i, j)) return status;
  return call(*store, name, i, j);
}
