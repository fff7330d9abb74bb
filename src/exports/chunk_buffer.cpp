#include "exports/chunk_buffer.h"

#include <charconv>

namespace qel::exports {

ChunkBuffer::ChunkBuffer(const fileio::ChunkWriter& write) : write_(write) {
  buffer_.reserve(kChunk + 4096);
}

ChunkBuffer& ChunkBuffer::number(long long n) {
  char digits[24];
  const auto r = std::to_chars(digits, digits + sizeof digits, n);
  return *this << std::string_view(digits, size_t(r.ptr - digits));
}

bool ChunkBuffer::flush() {
  if (!failed_ && !buffer_.empty() && !write_(buffer_)) failed_ = true;
  buffer_.clear();
  return !failed_;
}

}  // namespace qel::exports
