#include "views/table_rows.h"

#include <algorithm>
#include <array>

namespace qel::views {

TableRows::~TableRows() {
  stop();
}

void TableRows::wait() {
  if (worker_.joinable()) worker_.join();
}

void TableRows::invalidate() {
  stopFill_ = true;
  // The worker checks the flag once a step, so it is gone at once; it must be before the cache
  // is cleared under it.
  wait();
  dirty_ = true;
  for (size_t i = 0; i < cachedRows_; ++i) state_[i].store(0, std::memory_order_relaxed);
  relayout();
}

void TableRows::stop() {
  invalidate();
}

void TableRows::relayout() {
  layout_ = TableLayout::of(test_);
  for (int w = 0; w < kMaxDataWords; ++w) {
    int bits = 0;
    const auto& word = test_.words[size_t(w)];
    for (int s = 1; s <= kWordSlots && s <= test_.pinCount && word.pins[size_t(s)] > 0; ++s) ++bits;
    wordBits_[size_t(w)] = bits;
  }
  const size_t rows = size_t(std::min(layout_.rowCount(), kMaxCachedRows));
  if (rows != cachedRows_) {
    reference_.assign(rows, 0);
    result_.assign(rows, 0);
    state_ = rows ? std::make_unique<std::atomic<uint8_t>[]>(rows) : nullptr;
    cachedRows_ = rows;
  }
  progress_ = 0;
}

void TableRows::start() {
  if (filling() || !dirty_) return;
  wait();
  relayout();
  stopFill_ = false;
  filling_ = true;
  dirty_ = false;
  worker_ = std::thread([this] { fillMain(); });
}

void TableRows::computeInto(int64_t a, const TableCell& c) {
  const WordBits ref = readWordBits(test_, c.cycle, c.word, Source::Reference);
  const WordBits res = readWordBits(test_, c.cycle, c.word, Source::Result);
  reference_[size_t(a)] = uint32_t(ref.value);
  result_[size_t(a)] = uint32_t(res.value);
  const uint8_t s = kValid | (ref.undefined ? kRefUndefined : 0) | (res.undefined ? kResUndefined : 0);
  state_[size_t(a)].store(s, std::memory_order_release);
}

void TableRows::fillMain() {
  const int64_t steps = layout_.steps();
  const int per = layout_.rowsPerStep();
  for (int64_t k = 0; k < steps; ++k) {
    if (stopFill_.load(std::memory_order_relaxed)) break;
    const int64_t first = layout_.firstRowOfStep(k);
    for (int64_t a = first; a < first + per; ++a) {
      const TableCell c = layout_.cellOf(a);
      if (c.cycle < 1 || !cacheable(a, c.word) || state_[size_t(a)].load(std::memory_order_acquire) & kValid)
        continue;
      computeInto(a, c);
    }
    progress_.store(k + 1, std::memory_order_relaxed);
  }
  filling_.store(false, std::memory_order_release);
}

bool TableRows::values(int64_t a, TableCell& cell, WordBits& reference, WordBits& result) {
  cell = layout_.cellOf(a);
  if (cell.cycle < 1) return false;
  const int bits = wordBits_[size_t(cell.word)];
  if (cacheable(a, cell.word)) {
    uint8_t s = state_[size_t(a)].load(std::memory_order_acquire);
    // While the worker runs it is the cache's only writer; the row is computed without keeping it.
    if (!(s & kValid) && !filling()) {
      computeInto(a, cell);
      s = state_[size_t(a)].load(std::memory_order_relaxed);
    }
    if (s & kValid) {
      reference = {reference_[size_t(a)], bits, bool(s & kRefUndefined)};
      result = {result_[size_t(a)], bits, bool(s & kResUndefined)};
      return true;
    }
  }
  reference = readWordBits(test_, cell.cycle, cell.word, Source::Reference);
  result = readWordBits(test_, cell.cycle, cell.word, Source::Result);
  return true;
}

TableRow TableRows::row(int64_t a) {
  TableRow r;
  TableCell cell;
  WordBits ref, res;
  if (!values(a, cell, ref, res)) return r;
  const int radix = test_.words[0].radix;
  r.cycle = cell.cycle;
  r.word = cell.word;
  r.reference = formatWordBits(ref, radix);
  r.result = formatWordBits(res, radix);
  r.valid = true;
  return r;
}

}  // namespace qel::views
