#pragma once
// Memory for the diagram buffers. A test of a million cycles holds a few hundred megabytes; on
// Linux they are asked for in huge pages, so first touching them costs a few hundred page faults
// instead of some hundred thousand.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qel {

template <class T>
struct DiagramAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t(2) << 20;
  static constexpr size_t kThreshold = size_t(8) << 20;

  DiagramAllocator() = default;
  template <class U>
  DiagramAllocator(const DiagramAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
#if defined(__linux__)
    if (const size_t bytes = n * sizeof(T); bytes >= kThreshold) {
      const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
      void* p = std::aligned_alloc(kHugePage, rounded);
      if (p == nullptr) throw std::bad_alloc();
      madvise(p, rounded, MADV_HUGEPAGE);
      return static_cast<T*>(p);
    }
#endif
    return std::allocator<T>{}.allocate(n);
  }
  void deallocate(T* p, size_t n) noexcept {
#if defined(__linux__)
    if (n * sizeof(T) >= kThreshold) {
      std::free(p);
      return;
    }
#endif
    std::allocator<T>{}.deallocate(p, n);
  }
  template <class U>
  bool operator==(const DiagramAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace qel
