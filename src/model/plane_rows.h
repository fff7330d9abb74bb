#pragma once
// Rows of bit planes, one row per cycle: each row is `planes` planes of planeBytes() bytes, and
// slot s (1 based) is bit s - 1 of every plane. A row never written since the layout reads zero.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "model/zeroed_memory.h"

namespace qel {

class PlaneRows {
 public:
  explicit PlaneRows(int planes) : planes_(planes) {}
  PlaneRows(const PlaneRows& other);
  PlaneRows& operator=(const PlaneRows& other);
  PlaneRows(PlaneRows&&) noexcept = default;
  PlaneRows& operator=(PlaneRows&&) noexcept = default;

  int planes() const { return planes_; }
  int planeBytes() const { return planeBytes_; }
  int slots() const { return planeBytes_ * 8; }
  size_t rows() const { return rows_; }
  size_t rowBytes() const { return rowBytes_; }
  // Rows from here on were never written since the layout.
  size_t usedRows() const { return used_; }
  size_t capacityBytes() const { return memory_.size(); }

  const uint8_t* row(size_t r) const { return memory_.data() + r * rowBytes_; }
  // For writing: the caller keeps r below rows().
  uint8_t* rowToWrite(size_t r) {
    if (r >= used_) used_ = r + 1;
    return memory_.data() + r * rowBytes_;
  }

  bool bit(size_t r, int plane, int index) const {
    return (row(r)[size_t(plane * planeBytes_ + (index >> 3))] >> (index & 7)) & 1u;
  }
  void setBit(size_t r, int plane, int index, bool on) {
    uint8_t& b = rowToWrite(r)[size_t(plane * planeBytes_ + (index >> 3))];
    const auto m = uint8_t(1u << (index & 7));
    b = on ? uint8_t(b | m) : uint8_t(b & ~m);
  }

  // Slots 1..64 of a plane as one word, slot s at bit s - 1.
  uint64_t word(size_t r, int plane) const {
    uint64_t w;
    std::memcpy(&w, row(r) + plane * planeBytes_, 8);  // the buffer ends in 8 spare bytes
    return w & wordMask_;
  }
  // mask must lie within wordMask().
  void setWord(size_t r, int plane, uint64_t mask, uint64_t bits) {
    uint8_t* p = rowToWrite(r) + plane * planeBytes_;
    uint64_t w;
    std::memcpy(&w, p, 8);
    w = (w & ~mask) | (bits & mask);
    std::memcpy(p, &w, 8);
  }
  // Bits of the slots a plane word covers.
  uint64_t wordMask() const { return wordMask_; }

  // Rows first .. first + count - 1: for each, rowFn(i, masks, values) gives per plane (up to 3)
  // the bits to set and their values, slots 1..64 as in word(). Each row is written byte for
  // byte, so no store spills into the next plane or row.
  template <class RowFn>
  void merge(size_t first, size_t count, RowFn&& rowFn);
  // Rows [from, to), never written since the layout, take the bytes of `row`.
  void fillFresh(size_t from, size_t to, const uint8_t* row);

  // A fresh layout of rows that read zero, slots rounded up to whole bytes. Reuses the memory
  // when it fits and is not far too large. Throws std::bad_alloc.
  void layout(size_t rows, int slots);
  // More rows, the old ones kept and the new ones zero. Throws std::bad_alloc.
  void grow(size_t rows);
  // More slots in every row, values kept. Throws std::bad_alloc.
  void widen(int slots);
  // Rows [from, to) read zero again.
  void clear(size_t from, size_t to);

 private:
  void setGeometry(int planeBytes);

  int planes_;
  int planeBytes_ = 0;
  size_t rowBytes_ = 0;
  uint64_t wordMask_ = 0;
  size_t rows_ = 0;
  size_t used_ = 0;
  ZeroedMemory memory_;
};

template <class RowFn>
void PlaneRows::merge(size_t first, size_t count, RowFn&& rowFn) {
  static_assert(std::endian::native == std::endian::little, "plane words are read as little-endian");
  if (count == 0) return;
  // Fixed plane sizes give the compiler fixed-size copies.
  auto run = [&](auto fixed) {
    constexpr int kFixed = decltype(fixed)::value;
    const size_t pb = kFixed > 0 ? size_t(kFixed) : size_t(planeBytes_);
    const size_t stored = std::min<size_t>(pb, 8);
    const int planes = std::min(planes_, 3);
    uint8_t* row = memory_.data() + first * rowBytes_;
    for (size_t i = 0; i < count; ++i, row += rowBytes_) {
      uint64_t masks[3] = {0, 0, 0}, values[3] = {0, 0, 0}, words[3];
      rowFn(i, masks, values);
      for (int p = 0; p < planes; ++p) std::memcpy(&words[p], row + size_t(p) * pb, 8);
      for (int p = 0; p < planes; ++p) {
        words[p] = (words[p] & ~masks[p]) | (values[p] & masks[p]);
        if constexpr (kFixed > 0)
          std::memcpy(row + size_t(p) * pb, &words[p], size_t(kFixed));
        else
          std::memcpy(row + size_t(p) * pb, &words[p], stored);
      }
    }
  };
  switch (planeBytes_) {
    case 1:
      run(std::integral_constant<int, 1>{});
      break;
    case 2:
      run(std::integral_constant<int, 2>{});
      break;
    case 3:
      run(std::integral_constant<int, 3>{});
      break;
    case 4:
      run(std::integral_constant<int, 4>{});
      break;
    case 5:
      run(std::integral_constant<int, 5>{});
      break;
    case 6:
      run(std::integral_constant<int, 6>{});
      break;
    case 7:
      run(std::integral_constant<int, 7>{});
      break;
    case 8:
      run(std::integral_constant<int, 8>{});
      break;
    default:
      run(std::integral_constant<int, 0>{});
      break;
  }
  used_ = std::max(used_, first + count);
}

// Bytes a plane needs for slots 1..n.
constexpr int planeBytesFor(int slots) {
  return slots < 1 ? 1 : (slots + 7) / 8;
}

}  // namespace qel
