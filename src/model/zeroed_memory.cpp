#include "model/zeroed_memory.h"

#include <cstdlib>
#include <new>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace qel {

namespace {
// Below this the heap serves: small tests make many small models.
constexpr size_t kMapThreshold = size_t(1) << 20;
#if defined(__linux__)
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kHugeThreshold = size_t(8) << 20;
#endif
}  // namespace

ZeroedMemory::ZeroedMemory(size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (bytes < kMapThreshold) {
    data_ = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (!data_) throw std::bad_alloc();
    return;
  }
#if defined(_WIN32)
  data_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!data_) throw std::bad_alloc();
  mapped_ = true;
#elif defined(__linux__)
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  if (bytes >= kHugeThreshold) madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
  data_ = static_cast<uint8_t*>(p);
  mapped_ = true;
#else
  data_ = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!data_) throw std::bad_alloc();
#endif
}

ZeroedMemory::~ZeroedMemory() {
  release();
}

ZeroedMemory::ZeroedMemory(ZeroedMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

ZeroedMemory& ZeroedMemory::operator=(ZeroedMemory&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

void ZeroedMemory::release() noexcept {
  if (!data_) return;
  if (!mapped_) {
    std::free(data_);
  } else {
#if defined(_WIN32)
    VirtualFree(data_, 0, MEM_RELEASE);
#elif defined(__linux__)
    munmap(data_, size_);
#endif
  }
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace qel
