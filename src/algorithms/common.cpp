#include "algorithms/common.h"

#include <algorithm>

#include "algorithms/direction_bits.h"

namespace qel::algorithms {

void prepareExpansion(const ExpansionOptions& options) {
  if (options.emptyErrorList) options.emptyErrorList();
  if (options.markStale) options.markStale();
}

void completeExpansion(TestDescription& test, Operator& op, int64_t freshFromCycle) {
  if (freshFromCycle > test.cycleCount) {
    test.clearResults();
  } else {
    // The same cells as clearResults(), less those the growth has just filled.
    auto& result = test.resultBuffer();
    const size_t pins = size_t(test.pinCount);
    const size_t before = std::min(result.size(), size_t(std::max<int64_t>(freshFromCycle - 1, 0)) * pins);
    std::fill_n(result.begin(), before, uint8_t{kNotMeasured});
    const size_t last = pins * size_t(test.cycleCount + 1);
    if (last < result.size()) result[last] = kNotMeasured;
  }
  const int lastPin = std::min<int>(test.pinCount, kMaxDirectPin);
  PinMask inputs = 0;
  for (int p = 1; p <= lastPin; ++p)
    if (test.pinTypeCodeOf(p) == kInput) inputs |= PinMask(1) << p;
  uint8_t* storage = test.directionBits();
  for (int c = 1; c <= test.cycleCount; ++c) {
    if (updateDirection(storage, test.directionBitCount(), c, inputs, false)) continue;
    for (int p = 1; p <= lastPin; ++p)
      if ((inputs >> p & 1) && test.isRead(p, c)) test.setRead(p, c, false);
  }
  op.redraw();
}

const DataWord* usableWord(const TestDescription& test, int32_t index) {
  if (index < 0 || index >= kMaxDataWords) return nullptr;
  const DataWord& w = test.words[size_t(index)];
  return w.width() > 0 ? &w : nullptr;
}

bool resizeForExpansion(TestDescription& test, Operator& op, int64_t n, int64_t* freshFrom) {
  const int64_t before = test.cycleCount;
  if (n >= 0 && n <= kMaxCycles && test.setCycleCount(int(n))) {
    if (freshFrom) *freshFrom = n > before ? before + 1 : INT64_MAX;
    return true;
  }
  op.message(kDiagramSizeError, Icon::Error);
  test.clearStorageFailed();  // reported here, once
  return false;
}

void markCycleAfterTest(TestDescription& test) {
  // Written directly: a level set past the storage would grow the test by that cycle.
  auto& ref = test.referenceBuffer();
  const size_t row = size_t(test.cycleCount + 1) * kReferenceRow;
  for (int s = 1; s <= std::min<int>(test.pinCount, kMaxSignal); ++s)
    if (row + size_t(s) < ref.size()) ref[row + size_t(s)] = kDontCare;
}

}  // namespace qel::algorithms
