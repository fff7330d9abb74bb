#pragma once
// Zero-filled memory straight from the system, for the diagram rows. Pages are backed only when
// first written, so rows a test never writes (results before a run, cycles past the file's lines)
// cost nothing; on Linux large blocks are asked for in huge pages, so first touching them costs a
// few hundred page faults instead of some hundred thousand.

#include <cstddef>
#include <cstdint>

namespace qel {

class ZeroedMemory {
 public:
  ZeroedMemory() = default;
  // Throws std::bad_alloc when the system refuses.
  explicit ZeroedMemory(size_t bytes);
  ~ZeroedMemory();
  ZeroedMemory(ZeroedMemory&& other) noexcept;
  ZeroedMemory& operator=(ZeroedMemory&& other) noexcept;
  ZeroedMemory(const ZeroedMemory&) = delete;
  ZeroedMemory& operator=(const ZeroedMemory&) = delete;

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void release() noexcept;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;  // from the system's page allocator rather than the heap
};

}  // namespace qel
