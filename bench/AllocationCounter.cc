#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

// One thread runs the benchmarks and the main queue; no other thread allocates while they run.
size_t allocations = 0;

void* allocate(size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void* allocateAligned(size_t size, std::align_val_t alignment) {
  ++allocations;
  auto align = static_cast<size_t>(alignment);
  size_t rounded = (size + align - 1) / align * align;
  if (void* memory = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return memory;
  throw std::bad_alloc();
}

}  // namespace

namespace bench {

size_t allocationCount() { return allocations; }

}  // namespace bench

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, size_t, std::align_val_t) noexcept { std::free(memory); }
