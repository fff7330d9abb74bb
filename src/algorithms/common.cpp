#include "algorithms/common.h"

#include <algorithm>
#include <array>

namespace qel::algorithms {

void prepareExpansion(const ExpansionOptions& options) {
  if (options.emptyErrorList) options.emptyErrorList();
  if (options.markStale) options.markStale();
}

void completeExpansion(TestDescription& test, Operator& op) {
  test.clearResults();
  // Every input is driven in every cycle.
  const int lastPin = std::min<int>(test.pinCount, kMaxDirectPin);
  uint64_t inputs = 0;
  for (int p = 1; p <= lastPin; ++p)
    if (test.pinTypeCodeOf(p) == kInput) inputs |= uint64_t(1) << (p - 1);
  if (inputs != 0) {
    constexpr int kBatch = 256;
    std::array<CellWrite, kBatch> driven;
    driven.fill({.readMask = inputs, .cells = {}});
    for (int c = 1; c <= test.cycleCount; c += kBatch)
      test.writeCells(c, std::min(kBatch, test.cycleCount - c + 1), driven.data());
  }
  op.redraw();
}

const DataWord* usableWord(const TestDescription& test, int32_t index) {
  if (index < 0 || index >= kMaxDataWords) return nullptr;
  const DataWord& w = test.words[size_t(index)];
  return w.width() > 0 ? &w : nullptr;
}

bool resizeForExpansion(TestDescription& test, Operator& op, int64_t n) {
  if (n >= 0 && n <= kMaxCycles && test.setCycleCount(int(n))) return true;
  op.message(kDiagramSizeError, Icon::Error);
  test.clearStorageFailed();  // reported here, once
  return false;
}

void markCycleAfterTest(TestDescription& test) {
  // Only where the storage holds it: a level set past it would grow the test by that cycle.
  const int c = test.cycleCount + 1;
  const int slots = std::min<int>(test.pinCount, 64);
  if (!test.holdsCycle(c) || slots < 1) return;
  const uint64_t mask = slots == 64 ? ~uint64_t(0) : (uint64_t(1) << slots) - 1;
  test.setCells(c, mask, 0, {.dontCare = mask, .high = 0, .read = 0});
  for (int s = 65; s <= std::min<int>(test.pinCount, kMaxSignal); ++s) test.setLevel(s, c, kDontCare);
}

}  // namespace qel::algorithms
