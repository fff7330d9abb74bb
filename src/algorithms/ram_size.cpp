#include <algorithm>

#include "algorithms/ram.h"

namespace qel::algorithms {

RamLayout ramLayout(const MemoryTestParams& p, int t) {
  RamLayout l;
  // Cycles outside the template have no backup row to copy from.
  auto clampFirst = [](int64_t c) { return int(std::max<int64_t>(c, 1)); };
  auto clampLast = [t](int64_t c) { return int(std::min<int64_t>(c, t)); };
  if (p.readAddressCycle > p.writeAddressCycle) {
    l.writeFirst = clampFirst(p.writeStartCycle);
    l.writeLast = clampLast(int64_t(p.readStartCycle) - 1);
    l.readFirst = clampFirst(p.readStartCycle);
    l.readLast = t;
    l.estimateWrite = int64_t(p.readStartCycle) - 1;
    l.estimateRead = t - l.estimateWrite;
  } else {
    l.readFirst = clampFirst(p.readStartCycle);
    l.readLast = clampLast(int64_t(p.writeStartCycle) - 1);
    l.writeFirst = clampFirst(p.writeStartCycle);
    l.writeLast = t;
    l.estimateRead = int64_t(p.writeStartCycle) - 1;
    l.estimateWrite = t - l.estimateRead;
  }
  return l;
}

int64_t ramCellCount(const RamParams& p, bool compressed) {
  if (compressed) return 0;
  return std::max<int64_t>(int64_t(p.finalAddress) - p.startAddress + 1, 0);
}

int64_t ramSizeEstimate(const RamLayout& l, int t, int64_t a, int64_t d, int64_t n) {
  const int64_t lw = l.estimateWrite, lr = l.estimateRead;
  return 2 * t * a + 2 * a * (a * lr + 2 * lw) + 2 * (d * lw + (d + 1) * lr) + 2 * int64_t(t) * n;
}

int64_t ramExactCount(const RamLayout& l, int64_t a, int64_t d, int64_t n) {
  const int64_t lw = l.writeLength(), lr = l.readLength();
  const int64_t steps = std::max<int64_t>(a - 1, 0);
  return (lw + lr) * (1 + d + 2 * n) + steps * (lw + lr) + steps * (2 * lw + steps * lr);
}

int64_t marchCycleCount(const RamLayout& l, int64_t cells) {
  // w0 once, then four elements of a read and a write, then r0 once.
  return std::max<int64_t>(cells, 0) * 5 * (l.writeLength() + l.readLength());
}

}  // namespace qel::algorithms
