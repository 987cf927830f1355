#include "variable.h"

#include "EvalonStatus.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// A null text counts as the empty text: names and texts come from outside the engine, and a
// missing one must not fault.
const char* orEmpty(const char* text) {
  return text != nullptr ? text : "";
}

} // namespace

std::int32_t truncateToLong(double value) {
  // Only doubles strictly inside (-2^63, 2^63) may reach the cast; NaN fails both tests.
  constexpr double limit = 9223372036854775808.0;
  if (!(value > -limit && value < limit)) return 0;
  // The unsigned step keeps the low 32 bits by definition, without relying on a narrowing
  // signed conversion.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(value)));
}

variable::variable() : first(0), second(0) {}

// The copy of the name may run out of memory; the store, which alone creates variables,
// catches that.
variable::variable(const char* name, const std::uint32_t i, const std::uint32_t j)
    : name(orEmpty(name)), first(i), second(j) {}

variable::~variable() = default;

bool operator==(const variable& a, const variable& b) {
  return a.getName() == b.getName() && a.getFirst() == b.getFirst() &&
         a.getSecond() == b.getSecond();
}

bool operator<(const variable& a, const variable& b) {
  // char_traits<char> compares as unsigned char, and a prefix sorts before the longer name.
  if (const int names = a.getName().compare(b.getName()); names != 0) return names < 0;
  return std::pair(a.getFirst(), a.getSecond()) < std::pair(b.getFirst(), b.getSecond());
}

longVariable::longVariable() : value(0) {}

longVariable::longVariable(const char* name, const std::int32_t value, const std::uint32_t i,
                           const std::uint32_t j)
    : variable(name, i, j), value(value) {}

int longVariable::setValue(const std::int32_t newValue) {
  value = newValue;
  return ev::Ok;
}

int longVariable::setValue(const double newValue) {
  value = truncateToLong(newValue);
  return ev::Ok;
}

int longVariable::setValue(const char*) {
  return ev::TypeMismatch;
}

int longVariable::getValue(std::int32_t& out) const {
  out = value;
  return ev::Ok;
}

int longVariable::getValue(double& out) const {
  out = value;
  return ev::Ok;
}

int longVariable::getValue(char*) const {
  return ev::TypeMismatch;
}

char longVariable::who() const {
  return 'L';
}

doubleVariable::doubleVariable() : value(0.0) {}

doubleVariable::doubleVariable(const char* name, const double value, const std::uint32_t i,
                               const std::uint32_t j)
    : variable(name, i, j), value(value) {}

int doubleVariable::setValue(const std::int32_t newValue) {
  value = newValue;
  return ev::Ok;
}

int doubleVariable::setValue(const double newValue) {
  value = newValue;
  return ev::Ok;
}

int doubleVariable::setValue(const char*) {
  return ev::TypeMismatch;
}

int doubleVariable::getValue(std::int32_t& out) const {
  out = truncateToLong(value);
  return ev::Ok;
}

int doubleVariable::getValue(double& out) const {
  out = value;
  return ev::Ok;
}

int doubleVariable::getValue(char*) const {
  return ev::TypeMismatch;
}

char doubleVariable::who() const {
  return 'F';
}

stringVariable::stringVariable() = default;

stringVariable::stringVariable(const char* name, const char* value, const std::uint32_t i,
                               const std::uint32_t j)
    : variable(name, i, j), value(orEmpty(value)) {}

int stringVariable::setValue(const std::int32_t) {
  return ev::TypeMismatch;
}

int stringVariable::setValue(const double) {
  return ev::TypeMismatch;
}

int stringVariable::setValue(const char* newValue) {
  // Nothing in the engine throws. A failed string assignment has no effect, so when memory
  // runs out the old text stays and the caller learns that the text could not be held.
  try {
    value = orEmpty(newValue);
  } catch (const std::bad_alloc&) {
    return ev::TextTooLong;
  }
  return ev::Ok;
}

int stringVariable::getValue(std::int32_t& out) const {
  out = 0;
  return ev::TypeMismatch;
}

int stringVariable::getValue(double& out) const {
  out = 0.0;
  return ev::TypeMismatch;
}

int stringVariable::getValue(char* out) const {
  std::memcpy(out, value.c_str(), value.size() + 1);
  return ev::Ok;
}

char stringVariable::who() const {
  return 'S';
}
