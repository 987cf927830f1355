// EvalonLibrary.h: the exported interface of libEvalon, fourteen functions with C linkage and
// unmangled names. Everything else in the library is hidden.
//
// Two styles of use:
//
// - Object style. InitCalcSystem returns a new TCalcSystem (TCalcSystem.h) with its own
//   empty variable store (autoCreate on, floatFlag off), or null if it cannot be created.
//   The client calls the object's virtual operations (slots 0-16) and finally passes the
//   object, exactly once, to DeleteCalcSystem; never `delete` it yourself. Any number of
//   objects may live at once; they share no variables.
//
// - Instance style. InitCalcSystemInternal creates one library-wide object, the library
//   instance, and the i... functions forward to it; DeleteCalcSystemInternal destroys it.
//   The library instance shares no variables with the objects of InitCalcSystem.
//   * A second InitCalcSystemInternal while the instance exists keeps that instance and
//     its variables and returns 0 (nothing is replaced, nothing leaks).
//   * DeleteCalcSystemInternal may be called at any time, any number of times; it
//     always returns 0.
//   * Without a library instance (before the first InitCalcSystemInternal, after
//     DeleteCalcSystemInternal) every i... function reports -1 (ev::NoSystem; as an
//     unsigned err, all bits set), returns 0 (0.0) and sets a non-null output buffer to
//     the empty string.
//   Loading and unloading the library run no engine code: no object exists before a
//   creating call, and unloading destroys nothing the client left alive.
//
// Buffers: every text is a null-terminated byte string. Output buffers (the result of
// iCalcStringFormula, the value of iGetStringValue) must hold 256 bytes. Inputs longer
// than 255 bytes are refused by the engine with its status (see TCalcSystem.h).
// Argument order is not uniform: the two text-producing functions take the output
// buffer first.
//
// The i... functions forward to the object operations of the same names. So
// iCalcDoubleFormula is calcDoubleFormula (slot 1), which evaluates in long mode (the
// library instance's floatFlag is off and no export sets it): a name without a sigil is
// read as a long. After iSetDoubleValue("x", 2.5), "x*2" gives 4.0 (2.5 read as the long
// 2); after iSetDoubleValue("x#", 2.5), "x#*2" gives 5.0. Double mode
// (calcDoubleFormulaAs, slot 2) is reached only through an object.
//
// Statuses are the engine's codes (EvalonStatus.h). iGetLongValue and iGetDoubleValue
// return 0 (0.0) whenever the status they report is not 0; every i... function returns 0
// (0.0) with a non-zero status.
//
// Null pointers. No call crashes or throws, whatever it is passed. A null err or status
// pointer cannot receive a status: nothing is evaluated, the function returns 0 (0.0)
// and a non-null output buffer is set to the empty string. Otherwise the library instance
// is checked first (without one the status is -1), then the other arguments in their
// order, and the first null one is answered with a status (outputs as just said):
// - a null output buffer (result, value): ev::TextTooLong (4), a null buffer holds no
//   text; nothing is evaluated or read;
// - a null formula: ev::EmptyFormula (10);
// - a null reference: ev::BadName (2);
// - a null text given to iSetStringValue: ev::MissingOperand (9), nothing is stored.
// DeleteCalcSystem ignores a null object. Should an operation fail with an exception (the
// engine throws none), the call reports -1 as when there is no engine to serve it.
//
// Messages: EvalonMessage(code) gives the UTF-8 text of the message of a status code
// from 0 ("No Error") to 20 (ev::LastStatus), and null for every other code, -1
// included. The texts are static; the caller must not free them.
//
// Type information: the library exports the fourteen functions and nothing else, not the
// RTTI of TCalcSystem either. Clients call the virtual operations, which need none; a
// client built with UBSan must add -fno-sanitize=vptr (its check needs the typeinfo).
//
// Threads: none of this is synchronised. The library instance is one plain pointer;
// calls must come from one thread at a time, and an object serves one thread at a time.
#pragma once

#include "EvalonStatus.h"
#include "TCalcSystem.h"

#include <cstdint>

// Marks the library's exports; the library is built with hidden visibility.
#define EVALON_API __attribute__((visibility("default")))

extern "C" {

// Object style.
EVALON_API TCalcSystem* InitCalcSystem() noexcept;
EVALON_API void DeleteCalcSystem(TCalcSystem* system) noexcept;

// Instance style: 0 created (or already there), -1 not created.
EVALON_API int InitCalcSystemInternal() noexcept;
// Always 0.
EVALON_API int DeleteCalcSystemInternal() noexcept;

EVALON_API std::int32_t iCalcLongFormula(const char* formula, std::uint32_t* err) noexcept;
EVALON_API double iCalcDoubleFormula(const char* formula, std::uint32_t* err) noexcept;
// result: 256 bytes, written with the text on success.
EVALON_API void iCalcStringFormula(char* result, const char* formula, std::uint32_t* err) noexcept;

EVALON_API std::int32_t iGetLongValue(const char* ref, int* status) noexcept;
EVALON_API double iGetDoubleValue(const char* ref, int* status) noexcept;
// value: 256 bytes; note the order, output first, then the reference.
EVALON_API void iGetStringValue(char* value, const char* ref, int* status) noexcept;

EVALON_API int iSetLongValue(const char* ref, std::int32_t value) noexcept;
EVALON_API int iSetDoubleValue(const char* ref, double value) noexcept;
EVALON_API int iSetStringValue(const char* ref, const char* value) noexcept;

// The message text (UTF-8) of a status code 0-20; null for any other code.
EVALON_API const char* EvalonMessage(int code) noexcept;

} // extern "C"
