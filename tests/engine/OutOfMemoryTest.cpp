// Running out of memory while the store creates or changes a variable. The global
// operator new is replaced for this whole program, so it lives in a program of its own.
#include "TCalcSystem.h"
#include "TVarSystem.h"

#include "EvalonStatus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {

// Allocations that still succeed before operator new fails; negative: it never fails.
int allocationsLeft = -1;

} // namespace

// Replaced for this test program so that running out of memory can be provoked; it
// behaves as the ordinary one while allocationsLeft is negative.
void* operator new(std::size_t size) {
  if (allocationsLeft == 0) throw std::bad_alloc();
  if (allocationsLeft > 0) --allocationsLeft;
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}

// Out of line, or g++ pairs the inlined free with a new expression and warns of a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

// The nothrow forms allocate through the same pool, so every pair matches.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
[[gnu::noinline]] void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}

namespace {

std::string textOf(const TVarSystem& store, const char* name) {
  char buffer[256] = "untouched";
  store.GetValue(name, buffer, 0, 0);
  return buffer;
}

TEST(VarSystem, RunningOutOfMemoryCreatesNothingAndThrowsNothing) {
  TVarSystem store;
  store.SetValue("a", "kept", 0, 0);
  // Fail the variable, then its long name, then the growth of the sequence, until the
  // creation gets through.
  int refused = 0;
  int status = ev::NoVariable;
  for (int allowed = 0; status == ev::NoVariable && allowed < 10; ++allowed) {
    allocationsLeft = allowed;
    status = store.SetValue("a_name_longer_than_any_short_string", 1.5, 0, 0);
    allocationsLeft = -1;
    if (status == ev::NoVariable) {
      ++refused;
      EXPECT_EQ(store.size(), 1);
    }
  }
  EXPECT_EQ(status, ev::Ok);
  EXPECT_GE(refused, 3);
  EXPECT_EQ(store.size(), 2);

  allocationsLeft = 0;
  status = store.SetValue("a", "a text far too long to live inside the string itself", 0, 0);
  allocationsLeft = -1;
  EXPECT_EQ(status, ev::TextTooLong);
  EXPECT_EQ(textOf(store, "a"), "kept");
}

// An object whose store could not be made answers every call instead of crashing.
TEST(CalcSystem, WithoutMemoryForItsStoreAnswersNoSystem) {
  allocationsLeft = 0;
  TCalcSystem system;
  allocationsLeft = -1;
  std::uint32_t err = 0;
  EXPECT_EQ(system.calcDoubleFormulaAs("1+1", err), 0.0);
  EXPECT_EQ(err, static_cast<std::uint32_t>(ev::NoSystem));
  EXPECT_EQ(system.SetFloatValue("x", 1.0), ev::NoSystem);
}

} // namespace
