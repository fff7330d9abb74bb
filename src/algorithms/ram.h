#pragma once
// Sizes of the static RAM tests: the layout of their two template blocks, the estimate and the exact count.

#include <cstdint>

#include "model/algorithm_settings.h"

namespace qel::algorithms {

struct RamLayout {
  // Template cycles of the two blocks, inclusive, clamped to the template; empty when last < first.
  int writeFirst = 1, writeLast = 0;
  int readFirst = 1, readLast = 0;
  // Block lengths as the estimate takes them from the start cycles.
  int64_t estimateWrite = 0, estimateRead = 0;

  int64_t writeLength() const { return writeLast >= writeFirst ? int64_t(writeLast) - writeFirst + 1 : 0; }
  int64_t readLength() const { return readLast >= readFirst ? int64_t(readLast) - readFirst + 1 : 0; }
};

RamLayout ramLayout(const MemoryTestParams& p, int templateCycles);

// Template cycles of a window inside a block, both ends inclusive.
struct Window {
  int64_t first = 0, last = -1;
  Window(int64_t cycle, int64_t cycles) : first(cycle), last(cycle + cycles - 1) {}
  bool contains(int64_t c) const { return c >= first && c <= last; }
};

// Addresses of the cell passes: none when compressed.
int64_t ramCellCount(const RamParams& p, bool compressed);

// The estimate that sizes the progress gauge: a and d are the widths of the read address and data words.
int64_t ramSizeEstimate(const RamLayout& layout, int templateCycles, int64_t a, int64_t d, int64_t cells);
// The number of cycles the passes emit.
int64_t ramExactCount(const RamLayout& layout, int64_t a, int64_t d, int64_t cells);
// The number of cycles March C- emits over that many addresses.
int64_t marchCycleCount(const RamLayout& layout, int64_t cells);

}  // namespace qel::algorithms
