#include "model/plane_rows.h"

#include <algorithm>

namespace qel {

namespace {
constexpr size_t kSpare = 8;  // so that a plane can be read and written as one 8-byte word
}  // namespace

PlaneRows::PlaneRows(const PlaneRows& other)
    : planes_(other.planes_),
      planeBytes_(other.planeBytes_),
      rowBytes_(other.rowBytes_),
      wordMask_(other.wordMask_),
      rows_(other.rows_),
      used_(other.used_),
      memory_(other.memory_.size()) {
  if (used_ > 0) std::memcpy(memory_.data(), other.memory_.data(), used_ * rowBytes_);
}

PlaneRows& PlaneRows::operator=(const PlaneRows& other) {
  if (this != &other) *this = PlaneRows(other);
  return *this;
}

void PlaneRows::setGeometry(int planeBytes) {
  planeBytes_ = planeBytes;
  rowBytes_ = size_t(planes_) * size_t(planeBytes);
  const int bits = std::min(planeBytes * 8, 64);
  wordMask_ = bits == 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1;
}

void PlaneRows::layout(size_t rows, int slots) {
  const int pb = planeBytesFor(slots);
  const size_t need = rows * size_t(planes_) * size_t(pb) + kSpare;
  if (memory_.size() >= need && memory_.size() / 4 <= need) {
    std::memset(memory_.data(), 0, std::min(memory_.size(), used_ * rowBytes_ + kSpare));
  } else {
    memory_ = ZeroedMemory();  // the old block goes before the new one is asked for
    memory_ = ZeroedMemory(need);
  }
  setGeometry(pb);
  rows_ = rows;
  used_ = 0;
}

void PlaneRows::grow(size_t rows) {
  if (rows <= rows_) return;
  const size_t need = rows * rowBytes_ + kSpare;
  if (memory_.size() < need) {
    // Half as much again, so a test grown cycle by cycle is not copied at every step.
    const size_t ample = std::max(need, memory_.size() + memory_.size() / 2);
    ZeroedMemory bigger;
    try {
      bigger = ZeroedMemory(ample);
    } catch (const std::bad_alloc&) {
      bigger = ZeroedMemory(need);
    }
    if (used_ > 0) std::memcpy(bigger.data(), memory_.data(), used_ * rowBytes_);
    memory_ = std::move(bigger);
  }
  rows_ = rows;
}

void PlaneRows::widen(int slots) {
  const int pb = planeBytesFor(slots);
  if (pb <= planeBytes_) return;
  const size_t oldRowBytes = rowBytes_;
  const int oldPb = planeBytes_;
  ZeroedMemory wider(rows_ * size_t(planes_) * size_t(pb) + kSpare);
  for (size_t r = 0; r < used_; ++r)
    for (int p = 0; p < planes_; ++p)
      std::memcpy(wider.data() + r * size_t(planes_) * size_t(pb) + size_t(p * pb),
                  memory_.data() + r * oldRowBytes + size_t(p * oldPb), size_t(oldPb));
  memory_ = std::move(wider);
  setGeometry(pb);
}

void PlaneRows::fillFresh(size_t from, size_t to, const uint8_t* row) {
  to = std::min(to, rows_);
  if (from >= to) return;
  // A block of rows copied over and over: large copies instead of one small one a row.
  constexpr size_t kBlockRows = 256;
  const size_t block = std::min(kBlockRows, to - from);
  uint8_t* at = memory_.data() + from * rowBytes_;
  for (size_t i = 0; i < block; ++i) std::memcpy(at + i * rowBytes_, row, rowBytes_);
  for (size_t r = from + block; r < to; r += block)
    std::memcpy(memory_.data() + r * rowBytes_, at, std::min(block, to - r) * rowBytes_);
  used_ = std::max(used_, to);
}

void PlaneRows::clear(size_t from, size_t to) {
  to = std::min(to, used_);
  if (from >= to) return;
  std::memset(memory_.data() + from * rowBytes_, 0, (to - from) * rowBytes_);
}

}  // namespace qel
