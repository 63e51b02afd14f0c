#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace velmora {

// Allocates large blocks on 2 MiB boundaries and asks the system for huge pages. The signal
// store is read down its rows, 1 KiB apart: with 4 KiB pages nearly every fourth row would
// need a new address translation.
template <typename T>
struct HugePageAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t(2) << 20;

  HugePageAllocator() = default;
  template <typename U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(size_t count) {
    const size_t bytes = (count * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, bytes);
    if (block == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(block, bytes, MADV_HUGEPAGE);  // only advice: without huge pages all still works
#endif
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t) { std::free(block); }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const { return true; }
};

}  // namespace velmora
