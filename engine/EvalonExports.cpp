// The exported functions of libEvalon: the object style, which hands out
// TCalcSystem objects, and the instance style, plain functions that forward to one
// library-wide object. No exception and no null pointer crosses this boundary: every
// export is noexcept, catches everything, and answers a null argument with a status.
#include "EvalonLibrary.h"

#include "TVarSystem.h"

#include <initializer_list>
#include <new>

namespace {

// The class of every object the library creates. TCalcSystem has no virtual destructor
// (its table of virtual operations is the interface and admits none), so the library
// deletes through this final class, where deleting is exact. It adds no member and no
// virtual operation, so its layout and its table are TCalcSystem's.
class EvalonCalcSystem final : public TCalcSystem {
public:
  using TCalcSystem::TCalcSystem;
};
static_assert(sizeof(EvalonCalcSystem) == sizeof(TCalcSystem));

// An object with its own empty store, or null if either cannot be made.
EvalonCalcSystem* createSystem() noexcept {
  try {
    TVarSystem* store = new (std::nothrow) TVarSystem;
    if (!store) return nullptr;
    EvalonCalcSystem* system = new (std::nothrow) EvalonCalcSystem(store);
    if (!system) delete store;
    return system;
  } catch (...) {
    return nullptr;
  }
}

// Every object handed out was made by createSystem, so the cast is exact.
void destroySystem(TCalcSystem* system) noexcept {
  delete static_cast<EvalonCalcSystem*>(system);
}

// The library instance. A plain pointer: loading and unloading the library run no code
// of their own, and unloading destroys nothing that the client left alive.
EvalonCalcSystem* instance = nullptr;

// What a call reports when it fails with an exception (the engine throws none): -1, as
// when the engine cannot serve the call at all.
constexpr int Failed = ev::NoSystem;

constexpr std::uint32_t asErr(int status) {
  return static_cast<std::uint32_t>(status);
}

void clear(char* buffer) noexcept {
  if (buffer) buffer[0] = '\0';
}

struct Argument {
  const void* pointer;
  int statusIfNull;
};

// The status that stops an instance-style call before the engine is reached: -1 without a
// library instance, otherwise that of the first null argument; 0 to go on.
int refusal(std::initializer_list<Argument> arguments) noexcept {
  if (!instance) return ev::NoSystem;
  for (const Argument& argument : arguments)
    if (!argument.pointer) return argument.statusIfNull;
  return ev::Ok;
}

// The statuses for null arguments (documented in EvalonLibrary.h).
constexpr int NullFormula = ev::EmptyFormula;
constexpr int NullReference = ev::BadName;
constexpr int NullText = ev::MissingOperand;
constexpr int NullBuffer = ev::TextTooLong;

} // namespace

TCalcSystem* InitCalcSystem() noexcept {
  return createSystem();
}

void DeleteCalcSystem(TCalcSystem* system) noexcept {
  try {
    destroySystem(system);
  } catch (...) {
  }
}

// A second call while the instance exists keeps it, with its variables, and returns 0:
// replacing it would silently drop the client's variables, and creating a new one beside
// it would leak the old one.
int InitCalcSystemInternal() noexcept {
  try {
    if (!instance) instance = createSystem();
    return instance ? ev::Ok : -1;
  } catch (...) {
    return -1;
  }
}

int DeleteCalcSystemInternal() noexcept {
  try {
    EvalonCalcSystem* old = instance;
    instance = nullptr;
    destroySystem(old);
  } catch (...) {
  }
  return 0;
}

std::int32_t iCalcLongFormula(const char* formula, std::uint32_t* err) noexcept {
  if (!err) return 0;
  try {
    if (const int refused = refusal({{formula, NullFormula}})) {
      *err = asErr(refused);
      return 0;
    }
    std::uint32_t status = ev::Ok;
    const std::int32_t value = instance->calcLongFormula(formula, status);
    *err = status;
    return status == ev::Ok ? value : 0;
  } catch (...) {
    *err = asErr(Failed);
    return 0;
  }
}

double iCalcDoubleFormula(const char* formula, std::uint32_t* err) noexcept {
  if (!err) return 0.0;
  try {
    if (const int refused = refusal({{formula, NullFormula}})) {
      *err = asErr(refused);
      return 0.0;
    }
    std::uint32_t status = ev::Ok;
    const double value = instance->calcDoubleFormula(formula, status);
    *err = status;
    return status == ev::Ok ? value : 0.0;
  } catch (...) {
    *err = asErr(Failed);
    return 0.0;
  }
}

void iCalcStringFormula(char* result, const char* formula, std::uint32_t* err) noexcept {
  if (!err) {
    clear(result);
    return;
  }
  try {
    if (const int refused = refusal({{result, NullBuffer}, {formula, NullFormula}})) {
      clear(result);
      *err = asErr(refused);
      return;
    }
    std::uint32_t status = ev::Ok;
    instance->calcStringFormula(result, formula, status); // result written only on success
    *err = status;
  } catch (...) {
    clear(result);
    *err = asErr(Failed);
  }
}

std::int32_t iGetLongValue(const char* ref, int* status) noexcept {
  if (!status) return 0;
  try {
    if (const int refused = refusal({{ref, NullReference}})) {
      *status = refused;
      return 0;
    }
    std::int32_t value = 0;
    *status = instance->GetLongValue(ref, value);
    return *status == ev::Ok ? value : 0;
  } catch (...) {
    *status = Failed;
    return 0;
  }
}

double iGetDoubleValue(const char* ref, int* status) noexcept {
  if (!status) return 0.0;
  try {
    if (const int refused = refusal({{ref, NullReference}})) {
      *status = refused;
      return 0.0;
    }
    double value = 0.0;
    *status = instance->GetFloatValue(ref, value);
    return *status == ev::Ok ? value : 0.0;
  } catch (...) {
    *status = Failed;
    return 0.0;
  }
}

void iGetStringValue(char* value, const char* ref, int* status) noexcept {
  if (!status) {
    clear(value);
    return;
  }
  try {
    if (const int refused = refusal({{value, NullBuffer}, {ref, NullReference}})) {
      clear(value);
      *status = refused;
      return;
    }
    *status = instance->GetStringValue(ref, value);
  } catch (...) {
    clear(value);
    *status = Failed;
  }
}

int iSetLongValue(const char* ref, std::int32_t value) noexcept {
  try {
    if (const int refused = refusal({{ref, NullReference}})) return refused;
    return instance->SetLongValue(ref, value);
  } catch (...) {
    return Failed;
  }
}

int iSetDoubleValue(const char* ref, double value) noexcept {
  try {
    if (const int refused = refusal({{ref, NullReference}})) return refused;
    return instance->SetFloatValue(ref, value);
  } catch (...) {
    return Failed;
  }
}

int iSetStringValue(const char* ref, const char* value) noexcept {
  try {
    if (const int refused = refusal({{ref, NullReference}, {value, NullText}})) return refused;
    return instance->SetStringValue(ref, value);
  } catch (...) {
    return Failed;
  }
}
