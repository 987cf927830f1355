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

// The course of every i... export. A call with nowhere to report its status does nothing.
// Otherwise the status goes to *status: the refusal, or what call(instance) returns, or
// Failed if it throws. A call that does not reach the engine, or fails with an exception,
// leaves the output buffer (null when there is none) empty; one the engine answers leaves
// it as the engine did. True when the engine answered with status 0, so the caller may
// return its value.
template <class Status, class Call>
bool serve(Status* status, char* output, std::initializer_list<Argument> arguments,
           Call call) noexcept {
  if (!status) {
    clear(output);
    return false;
  }
  int stopped = Failed;
  try {
    stopped = refusal(arguments);
    if (stopped == ev::Ok) {
      *status = static_cast<Status>(call(*instance));
      return *status == ev::Ok;
    }
  } catch (...) {
    stopped = Failed;
  }
  clear(output);
  *status = static_cast<Status>(stopped);
  return false;
}

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
    return instance ? ev::Ok : ev::NoSystem;
  } catch (...) {
    return ev::NoSystem;
  }
}

int DeleteCalcSystemInternal() noexcept {
  try {
    EvalonCalcSystem* old = instance;
    instance = nullptr;
    destroySystem(old);
  } catch (...) {
  }
  return ev::Ok;
}

std::int32_t iCalcLongFormula(const char* formula, std::uint32_t* err) noexcept {
  std::int32_t value = 0;
  const bool served = serve(err, nullptr, {{formula, NullFormula}}, [&](TCalcSystem& system) {
    std::uint32_t status = ev::Ok;
    value = system.calcLongFormula(formula, status);
    return status;
  });
  return served ? value : 0;
}

double iCalcDoubleFormula(const char* formula, std::uint32_t* err) noexcept {
  double value = 0.0;
  const bool served = serve(err, nullptr, {{formula, NullFormula}}, [&](TCalcSystem& system) {
    std::uint32_t status = ev::Ok;
    value = system.calcDoubleFormula(formula, status);
    return status;
  });
  return served ? value : 0.0;
}

void iCalcStringFormula(char* result, const char* formula, std::uint32_t* err) noexcept {
  serve(err, result, {{result, NullBuffer}, {formula, NullFormula}}, [&](TCalcSystem& system) {
    std::uint32_t status = ev::Ok;
    system.calcStringFormula(result, formula, status); // result written only on success
    return status;
  });
}

std::int32_t iGetLongValue(const char* ref, int* status) noexcept {
  std::int32_t value = 0;
  const bool served = serve(status, nullptr, {{ref, NullReference}},
                            [&](TCalcSystem& system) { return system.GetLongValue(ref, value); });
  return served ? value : 0;
}

double iGetDoubleValue(const char* ref, int* status) noexcept {
  double value = 0.0;
  const bool served = serve(status, nullptr, {{ref, NullReference}},
                            [&](TCalcSystem& system) { return system.GetFloatValue(ref, value); });
  return served ? value : 0.0;
}

void iGetStringValue(char* value, const char* ref, int* status) noexcept {
  serve(status, value, {{value, NullBuffer}, {ref, NullReference}},
        [&](TCalcSystem& system) { return system.GetStringValue(ref, value); });
}

int iSetLongValue(const char* ref, std::int32_t value) noexcept {
  int status = ev::Ok;
  serve(&status, nullptr, {{ref, NullReference}},
        [&](TCalcSystem& system) { return system.SetLongValue(ref, value); });
  return status;
}

int iSetDoubleValue(const char* ref, double value) noexcept {
  int status = ev::Ok;
  serve(&status, nullptr, {{ref, NullReference}},
        [&](TCalcSystem& system) { return system.SetFloatValue(ref, value); });
  return status;
}

int iSetStringValue(const char* ref, const char* value) noexcept {
  int status = ev::Ok;
  serve(&status, nullptr, {{ref, NullReference}, {value, NullText}},
        [&](TCalcSystem& system) { return system.SetStringValue(ref, value); });
  return status;
}
