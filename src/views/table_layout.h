#pragma once
// Which cycle and data word each row of the table shows: one row per cycle and word, or, for a
// ROM read-out, two rows per address (its address word and its data word).

#include <cstdint>

#include "model/test_description.h"

namespace qel::views {

struct TableCell {
  int32_t cycle = -1;  // -1: no such row
  int32_t word = 0;
};

class TableLayout {
 public:
  TableLayout() = default;
  static TableLayout of(const TestDescription& test);

  bool rom() const { return rom_; }
  int words() const { return words_; }
  int64_t rowCount() const { return rows_; }
  TableCell cellOf(int64_t row) const;
  // The row that shows a cycle: its first word's row, or in the ROM layout the row of its address
  // whose cycle is the last one not after it.
  int64_t rowOfCycle(int64_t cycle) const;
  // Steps of a fill: cycles, or addresses in the ROM layout; the rows of step k come before those
  // of step k + 1.
  int64_t steps() const { return rom_ ? addresses_ : cycles_; }
  int64_t firstRowOfStep(int64_t step) const { return step * (rom_ ? 2 : words_); }
  int rowsPerStep() const { return rom_ ? 2 : words_; }

 private:
  bool rom_ = false;
  int words_ = 0;
  int64_t cycles_ = 0;
  int64_t rows_ = 0;
  // ROM layout: template length, the two rows of an address in word order.
  int64_t templateCycles_ = 1;
  int64_t addresses_ = 0;
  TableCell firstOfAddress_, secondOfAddress_;  // cycle within the address's template block
};

}  // namespace qel::views
