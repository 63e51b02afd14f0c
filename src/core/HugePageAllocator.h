#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

namespace velmora {

// The last large block given back, kept for the next one when a process reads one recording
// after another (a batch worker): clearing a kept block costs less than the system clearing
// fresh pages on first touch, above all with several such processes at once.
class FreedBlock {
 public:
  // From now on (or no longer: the kept block is then given back).
  static void KeepFreedBlocks(bool keep = true) {
    const std::lock_guard<std::mutex> lock(mutex_);
    keep_ = keep;
    if (!keep && block_ != nullptr) ::munmap(std::exchange(block_, nullptr), std::exchange(bytes_, 0));
  }
  // A kept block of at least `bytes`, its excess given back; nullptr when there is none. A
  // small block (a fresh state's store) is made afresh, the kept one left for the next store;
  // a larger one than kept is made afresh, the kept one given back.
  static void* Take(size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (block_ == nullptr || bytes <= bytes_ / 2) return nullptr;
    void* block = std::exchange(block_, nullptr);
    const size_t held = std::exchange(bytes_, 0);
    if (held < bytes) {
      ::munmap(block, held);
      return nullptr;
    }
    if (held > bytes) ::munmap(static_cast<char*>(block) + bytes, held - bytes);
    return block;
  }
  // True when the block was kept: the larger of it and the one kept before stays.
  static bool Keep(void* block, size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!keep_ || bytes_ >= bytes) return false;
    if (block_ != nullptr) ::munmap(block_, bytes_);
    block_ = block;
    bytes_ = bytes;
    return true;
  }

 private:
  static inline bool keep_ = false;
  static inline std::mutex mutex_;
  static inline void* block_ = nullptr;
  static inline size_t bytes_ = 0;
};

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_CHECKED_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_CHECKED_HEAP 1
#endif
#endif

// Allocates large blocks on 2 MiB boundaries and asks the system for huge pages. The signal
// store is read down its rows, 1 KiB apart: with 4 KiB pages nearly every fourth row would
// need a new address translation.
//
// The blocks come zeroed, and an element made without a value is left as the block holds
// it, so a fresh store is zero without being written: the system clears each page when it
// is first touched, and a loader that fills the store touches it only once, from the
// threads that fill it. (Grown again after it shrank, a vector would keep the old values in
// the part it had; the store is only ever made afresh.)
template <typename T>
struct HugePageAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t(2) << 20;

  HugePageAllocator() = default;
  template <typename U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(size_t count) {
    if (count > (SIZE_MAX - 2 * kHugePage) / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = Rounded(count);
#ifdef VELMORA_CHECKED_HEAP
    // Under the address checker the heap's own blocks are kept, so that reading past the
    // store is caught.
    void* block = std::aligned_alloc(kHugePage, bytes);
    if (block == nullptr) throw std::bad_alloc();
    std::memset(block, 0, bytes);
    return static_cast<T*>(block);
#else
    if (void* kept = FreedBlock::Take(bytes)) {
      std::memset(kept, 0, bytes);
      return static_cast<T*>(kept);
    }
    void* mapped = ::mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    // What lies before the first 2 MiB boundary and after the block is given back.
    const uintptr_t at = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t start = (at + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (start > at) ::munmap(mapped, start - at);
    if (at + kHugePage > start) ::munmap(reinterpret_cast<void*>(start + bytes), at + kHugePage - start);
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);  // only advice: without huge pages all still works
#endif
    return reinterpret_cast<T*>(start);
#endif
  }
  void deallocate(T* block, size_t count) {
#ifdef VELMORA_CHECKED_HEAP
    (void)count;
    std::free(block);
#else
    if (!FreedBlock::Keep(block, Rounded(count))) ::munmap(block, Rounded(count));
#endif
  }

  template <typename U>
  void construct(U* at) {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const { return true; }

 private:
  static size_t Rounded(size_t count) {
    const size_t bytes = (count * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage;
    return bytes == 0 ? kHugePage : bytes;
  }
};

}  // namespace velmora
