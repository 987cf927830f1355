// The replaced global allocation functions. Every form of operator new counts; the forms
// of operator delete that are not replaced here call these by default.
#include "AllocationCount.h"

#include <cstdlib>
#include <new>

namespace {

// Per thread, so that an increment costs no more than a plain one and other threads'
// allocations never land in a measurement.
thread_local std::size_t allocations = 0;

void* tryAllocate(std::size_t size) noexcept {
  ++allocations;
  return std::malloc(size != 0 ? size : 1);
}

// aligned_alloc wants a size that is a multiple of the alignment.
void* tryAllocate(std::size_t size, std::align_val_t alignment) noexcept {
  ++allocations;
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = size != 0 ? (size + align - 1) / align * align : align;
  return std::aligned_alloc(align, rounded);
}

void* allocate(std::size_t size) {
  if (void* memory = tryAllocate(size)) return memory;
  throw std::bad_alloc();
}

void* allocate(std::size_t size, std::align_val_t alignment) {
  if (void* memory = tryAllocate(size, alignment)) return memory;
  throw std::bad_alloc();
}

} // namespace

std::size_t allocationCount() {
  return allocations;
}

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return tryAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return tryAllocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocate(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return tryAllocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return tryAllocate(size, alignment);
}

// Out of line, or g++ pairs the inlined free with a new expression and warns of a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::align_val_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
  std::free(memory);
}
