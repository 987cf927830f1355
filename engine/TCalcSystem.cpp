// The calculation system object: construction, flags, the value operations, and the
// subscripts of a reference text "name", "name[i]" or "name[i][j]".
#include "TCalcSystem.h"

#include "CharClass.h"
#include "FormulaScanner.h"
#include "ReferenceResolve.h"
#include "TVarSystem.h"
#include "TextBuffer.h"

#include <cstring>
#include <new>

namespace {

// The store call that writes the value to a variable of its kind.
template <class In> auto writeFrom(In value) {
  return [value](TVarSystem& s, const char* name, std::uint32_t i, std::uint32_t j) {
    return s.SetValue(name, value, i, j);
  };
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

// The six value operations: one resolution (ReferenceResolve.h) and one store call each.
int TCalcSystem::GetLongValue(const char* ref, std::int32_t& value) {
  return resolve(ref, readInto(value));
}

int TCalcSystem::GetFloatValue(const char* ref, double& value) {
  return resolve(ref, readInto(value));
}

int TCalcSystem::GetStringValue(const char* ref, char* value) {
  return resolve(ref, readInto(value));
}

int TCalcSystem::SetLongValue(const char* ref, std::int32_t value) {
  return resolve(ref, writeFrom(value));
}

int TCalcSystem::SetFloatValue(const char* ref, double value) {
  return resolve(ref, writeFrom(value));
}

// Stored texts stay within 255 bytes so that every reader's 256-byte buffer holds them.
int TCalcSystem::SetStringValue(const char* ref, const char* value) {
  const char* text = value ? value : "";
  if (std::strlen(text) > BufferSize - 1) return ev::TextTooLong;
  return resolve(ref, writeFrom(text));
}
