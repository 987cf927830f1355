// The calculation system object: construction, flags, and the value operations that
// resolve a reference text "name", "name[i]" or "name[i][j]" into the store.
#include "TCalcSystem.h"

#include "CharClass.h"
#include "FormulaScanner.h"
#include "TVarSystem.h"
#include "TextBuffer.h"

#include <cstring>
#include <new>

namespace {

// Whether the reference is a name alone, without white space, subscripts or anything after
// it, and short enough for a name buffer: then resolving it gives the reference itself with
// no subscripts, and it can go to the store as it stands. Every variable a formula reads
// by a plain name, such as the plotter's "x", takes this way.
bool isBareName(const char* ref) {
  const char* p = ref;
  while (charclass::isNameChar(*p))
    ++p;
  return *p == '\0' && static_cast<std::size_t>(p - ref) < BufferSize;
}

// Subscript expressions are evaluated recursively; each level holds a token array on the
// stack, so the depth is bounded.
constexpr int MaxNesting = 32;

// Copies the subscript text after a "[" up to the "]" that closes it (nested brackets
// count). p is left after that "]".
int getIndexFormula(const char*& p, char* buffer) {
  int depth = 0;
  std::size_t length = 0;
  for (;; ++p) {
    if (*p == '\0') return ev::MissingCloseBracket;
    if (*p == ']' && depth == 0) break;
    depth += *p == '[' ? 1 : *p == ']' ? -1 : 0;
    if (length == BufferSize - 1) return ev::TextTooLong;
    buffer[length++] = *p;
  }
  buffer[length] = '\0';
  ++p;
  return ev::Ok;
}

} // namespace

TCalcSystem::TCalcSystem() : store(new (std::nothrow) TVarSystem), floatFlag(false), nesting(0) {}

TCalcSystem::TCalcSystem(TVarSystem* adopted) : store(adopted), floatFlag(false), nesting(0) {}

TCalcSystem::~TCalcSystem() {
  delete store;
}

void TCalcSystem::SetAutoCreate(bool on) {
  if (store) store->SetAutoCreate(on);
}

bool TCalcSystem::GetAutoCreate() {
  return store ? store->GetAutoCreate() : false;
}

void TCalcSystem::SetFloatFlag(bool on) {
  floatFlag = on;
}

bool TCalcSystem::GetFloatFlag() {
  return floatFlag;
}

// Evaluates the subscript that starts at the "[" under p; p is left after its "]".
int TCalcSystem::getSubscript(const char*& p, std::uint32_t& value) {
  char expression[BufferSize];
  ++p;
  if (int status = getIndexFormula(p, expression)) return status;
  if (nesting >= MaxNesting) return ev::TooManySubscripts;
  std::uint32_t err = ev::Ok;
  ++nesting;
  const std::int32_t n = calcLongFormula(expression, err);
  --nesting;
  if (err) return static_cast<int>(err);
  if (n <= 0) return ev::SubscriptRange;
  value = static_cast<std::uint32_t>(n);
  return ev::Ok;
}

int TCalcSystem::getIndex(const char* ref, char* name, std::uint32_t& i, std::uint32_t& j) {
  i = j = 0;
  const char* p = strSkip(ref);
  std::size_t length = 0;
  for (; charclass::isNameChar(*p); ++p) {
    if (length == BufferSize - 1) return ev::TextTooLong;
    name[length++] = *p;
  }
  name[length] = '\0';
  if (*p != '[') return ev::Ok;
  if (int status = getSubscript(p, i)) return status;
  if (*p == '[') {
    if (int status = getSubscript(p, j)) return status;
  } else if (*p != '\0') {
    ++p; // after a single subscript, the character behind its "]" is passed over
  }
  return *strSkip(p) == '[' ? ev::TooManySubscripts : ev::Ok;
}

// The shape of the six value operations: resolve the reference, then one store call
// with the bare name and the subscripts. On a failed resolution the store is not touched.
// A bare name needs no buffer and no frame, so that path stays small enough to inline
// where formulas read their variables.
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

int TCalcSystem::GetLongValue(const char* ref, std::int32_t& value) {
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.GetValue(name, value, i, j);
  });
}

int TCalcSystem::GetFloatValue(const char* ref, double& value) {
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.GetValue(name, value, i, j);
  });
}

int TCalcSystem::GetStringValue(const char* ref, char* value) {
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.GetValue(name, value, i, j);
  });
}

int TCalcSystem::SetLongValue(const char* ref, std::int32_t value) {
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.SetValue(name, value, i, j);
  });
}

int TCalcSystem::SetFloatValue(const char* ref, double value) {
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.SetValue(name, value, i, j);
  });
}

// Stored texts stay within 255 bytes so that every reader's 256-byte buffer holds them.
int TCalcSystem::SetStringValue(const char* ref, const char* value) {
  const char* text = value ? value : "";
  if (std::strlen(text) > BufferSize - 1) return ev::TextTooLong;
  return resolve(ref, [&](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.SetValue(name, text, i, j);
  });
}
