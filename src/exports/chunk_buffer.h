#pragma once
// Text gathered into chunks of about a mebibyte and handed to a writer, so that an export of any
// size holds one chunk in memory, not the file.

#include <string>
#include <string_view>
#include <type_traits>

#include "fileio/safe_save.h"

namespace qel::exports {

class ChunkBuffer {
 public:
  explicit ChunkBuffer(const fileio::ChunkWriter& write);

  ChunkBuffer& operator<<(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kChunk) flush();
    return *this;
  }
  ChunkBuffer& operator<<(char c) {
    buffer_ += c;
    if (buffer_.size() >= kChunk) flush();
    return *this;
  }
  template <class Int>
  requires(std::is_integral_v<Int> && !std::is_same_v<Int, char> && !std::is_same_v<Int, bool>) ChunkBuffer&
  operator<<(Int n) {
    return number(static_cast<long long>(n));
  }

  // Hands over what is gathered; false once any write has failed.
  bool flush();
  bool failed() const { return failed_; }

 private:
  ChunkBuffer& number(long long n);
  static constexpr size_t kChunk = size_t(1) << 20;
  const fileio::ChunkWriter& write_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace qel::exports
