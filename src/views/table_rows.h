#pragma once
// The table's rows and their fill (TLoadTable): a worker computes the words of every row ahead
// of the user while the painter takes what is visible, computing a missing row itself.
//
// Threads: every call but the worker's own comes from one controlling thread (the GUI's). The
// worker reads the test; the owner keeps the test unchanged while a fill runs (invalidate first).
// A row's values are written before its flag is published, so a reader that sees the flag sees them.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "views/table_layout.h"
#include "views/word_value.h"

namespace qel::views {

struct TableRow {
  int32_t cycle = -1;  // -1: the empty record
  int32_t word = 0;
  std::string reference, result;
  bool valid = false;  // the row exists
};

class TableRows {
 public:
  // Above this many rows the rest are computed on demand only (9 bytes a cached row).
  static constexpr int64_t kMaxCachedRows = 12'000'000;

  explicit TableRows(const TestDescription& test) : test_(test) {}
  ~TableRows();
  TableRows(const TableRows&) = delete;
  TableRows& operator=(const TableRows&) = delete;

  // Stops a fill and forgets every row: the test changed.
  void invalidate();
  // invalidate() and waits for the worker to end.
  void stop();
  // Starts a fill unless one runs or the rows are filled.
  void start();
  // The fill's end or stop; returns at once when none runs.
  void wait();

  bool filling() const { return filling_.load(std::memory_order_acquire); }
  // Gauge: steps done of steps().
  int64_t progress() const { return progress_.load(std::memory_order_relaxed); }
  int64_t steps() const { return layout_.steps(); }

  const TableLayout& layout() const { return layout_; }
  int64_t rowCount() const { return layout_.rowCount(); }
  int64_t rowOfCycle(int64_t cycle) const { return layout_.rowOfCycle(cycle); }
  // Row a, from the cache or computed now (and kept while no fill runs).
  TableRow row(int64_t a);
  // Only the texts' source values, for the search: false for a row that does not exist.
  bool values(int64_t a, TableCell& cell, WordBits& reference, WordBits& result);
  // A value's text in the test's radix.
  std::string text(const WordBits& w) const { return formatWordBits(w, test_.words[0].radix); }

 private:
  enum : uint8_t { kValid = 1, kRefUndefined = 2, kResUndefined = 4 };
  void relayout();
  void fillMain();
  void computeInto(int64_t a, const TableCell& c);
  bool cacheable(int64_t a, int word) const {
    return a < int64_t(cachedRows_) && wordBits_[size_t(word)] <= 32;
  }

  const TestDescription& test_;
  TableLayout layout_;
  std::array<int, kMaxDataWords> wordBits_{};  // 32 bits or fewer: its values fit the cache
  size_t cachedRows_ = 0;
  std::vector<uint32_t> reference_, result_;
  std::unique_ptr<std::atomic<uint8_t>[]> state_;
  std::thread worker_;
  std::atomic<bool> filling_{false};
  std::atomic<bool> stopFill_{false};
  std::atomic<int64_t> progress_{0};
  bool dirty_ = true;
};

}  // namespace qel::views
