#include "algorithms/common.h"

#include <algorithm>

namespace qel::algorithms {

void prepareExpansion(const ExpansionOptions& options) {
  if (options.emptyErrorList) options.emptyErrorList();
  if (options.markStale) options.markStale();
}

void completeExpansion(TestDescription& test, Operator& op) {
  test.clearResults();
  const int lastPin = std::min<int>(test.pinCount, kMaxDirectPin);
  for (int p = 1; p <= lastPin; ++p) {
    if (test.pinTypeCodeOf(p) != kInput) continue;
    for (int c = 1; c <= test.cycleCount; ++c)
      if (test.isRead(p, c)) test.setRead(p, c, false);
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
