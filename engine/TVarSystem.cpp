#include "TVarSystem.h"

#include "CharClass.h"
#include "EvalonStatus.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

using Variables = std::vector<std::unique_ptr<variable>>;

// The kind a missing variable is created in, from the kind of the value written or read,
// and the zero a read of that kind creates it with.
template <class Value> struct KindOf;
template <> struct KindOf<std::int32_t> {
  using type = longVariable;
  static constexpr std::int32_t zero = 0;
};
template <> struct KindOf<double> {
  using type = doubleVariable;
  static constexpr double zero = 0.0;
};
template <> struct KindOf<const char*> {
  using type = stringVariable;
  static constexpr const char* zero = "";
};

// Makes the variable and inserts it after every entry that is not greater, which keeps the
// order. Nothing in the engine throws, so running out of memory is caught here and answered
// with no variable: it is not there and could not be made (NoVariable). The store is then
// unchanged, since a failed vector insert of a unique_ptr has no effect.
template <class Value>
variable* create(Variables& variables, std::uint64_t& generation, const char* name,
                 const Value value, const std::uint32_t i, const std::uint32_t j) {
  try {
    std::unique_ptr<variable> made =
        std::make_unique<typename KindOf<Value>::type>(name, value, i, j);
    const auto place = std::upper_bound(variables.begin(), variables.end(), made,
                                        [](const auto& a, const auto& b) { return *a < *b; });
    variable* inserted = variables.insert(place, std::move(made))->get();
    ++generation;
    return inserted;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// The write course of SetValue and DefineValue for every kind of value.
template <class Value>
int writeValue(const TVarSystem& store, Variables& variables, std::uint64_t& generation,
               const char* name, const Value value, const std::uint32_t i, const std::uint32_t j) {
  if (!checkVarName(name)) return ev::BadName;
  if (const int position = store.search(name, i, j); position != TVarSystem::NotFound)
    return variables[position]->setValue(value);
  if (!store.GetAutoCreate()) return ev::NoVariable;
  return create(variables, generation, name, value, i, j) != nullptr ? ev::Ok : ev::NoVariable;
}

// The read course of GetValue for every kind of output. A missing variable is created with
// the zero of the kind asked for, which the read then hands out.
template <class Value, class Out>
int readValue(const TVarSystem& store, Variables& variables, std::uint64_t& generation,
              const char* name, Out& out, const std::uint32_t i, const std::uint32_t j) {
  if (!checkVarName(name)) return ev::BadName;
  if (const int position = store.search(name, i, j); position != TVarSystem::NotFound)
    return variables[position]->getValue(out);
  if (!store.GetAutoCreate()) return ev::NoVariable;
  variable* made = create(variables, generation, name, KindOf<Value>::zero, i, j);
  return made != nullptr ? made->getValue(out) : ev::NoVariable;
}

} // namespace

bool checkVarName(const char* name) {
  if (name == nullptr || !(charclass::isLetter(name[0]) || name[0] == '@')) return false;
  for (const char* c = name + 1; *c != '\0' && *c != '['; ++c)
    if (!charclass::isNameChar(*c)) return false;
  return true;
}

TVarSystem::TVarSystem() : autoCreate(true) {}

TVarSystem::~TVarSystem() = default;

// Remembered variables die here: a new generation.
void TVarSystem::resetVarSystem() {
  variables.clear();
  ++generationCount;
}

int TVarSystem::SetValue(const char* name, const std::int32_t value, const std::uint32_t i,
                         const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

int TVarSystem::SetValue(const char* name, const double value, const std::uint32_t i,
                         const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

int TVarSystem::SetValue(const char* name, const char* value, const std::uint32_t i,
                         const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

int TVarSystem::GetValue(const char* name, std::int32_t& out, const std::uint32_t i,
                         const std::uint32_t j) const {
  return readValue<std::int32_t>(*this, variables, generationCount, name, out, i, j);
}

int TVarSystem::GetValue(const char* name, double& out, const std::uint32_t i,
                         const std::uint32_t j) const {
  return readValue<double>(*this, variables, generationCount, name, out, i, j);
}

int TVarSystem::GetValue(const char* name, char* out, const std::uint32_t i,
                         const std::uint32_t j) const {
  return readValue<const char*>(*this, variables, generationCount, name, out, i, j);
}

int TVarSystem::DefineValue(const char* name, const std::int32_t value, const std::uint32_t i,
                            const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

int TVarSystem::DefineValue(const char* name, const double value, const std::uint32_t i,
                            const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

int TVarSystem::DefineValue(const char* name, const char* value, const std::uint32_t i,
                            const std::uint32_t j) {
  return writeValue(*this, variables, generationCount, name, value, i, j);
}

void TVarSystem::SetAutoCreate(const bool on) {
  autoCreate = on;
}

bool TVarSystem::GetAutoCreate() const {
  return autoCreate;
}

// Names compared as unsigned bytes, a prefix first, without measuring the wanted name:
// lookups run for every variable of every formula evaluation and names are short.
namespace {

int compareName(const std::string& entry, const char* wanted) {
  const auto* a = reinterpret_cast<const unsigned char*>(entry.c_str());
  const auto* b = reinterpret_cast<const unsigned char*>(wanted);
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

} // namespace

int TVarSystem::search(const char* name, const std::uint32_t i, const std::uint32_t j) const {
  // A missing name matches nothing.
  if (name == nullptr) return NotFound;
  const auto first = variables.cbegin();
  for (auto entry = first; entry != variables.cend(); ++entry) {
    const int order = compareName((*entry)->getName(), name);
    // The sequence is sorted, so no entry after a greater name can match.
    if (order > 0) break;
    if (order == 0 && (*entry)->getFirst() == i && (*entry)->getSecond() == j)
      return static_cast<int>(entry - first);
  }
  return NotFound;
}
