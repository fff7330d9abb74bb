#include "exports/saved_result.h"

#include <algorithm>
#include <vector>

namespace qel::exports {

TakenResult takeSavedResult(TestDescription& test, const TestDescription& saved) {
  TakenResult r;
  if (saved.pinCount != test.pinCount || saved.isSoic != test.isSoic) {
    r.error = "the result is of a " + std::to_string(saved.pinCount) + "-pin package, the test of a " +
              std::to_string(test.pinCount) + "-pin one";
    return r;
  }
  test.clearResults();
  const int cycles = std::min(test.cycleCount, saved.cycleCount);
  if (saved.cycleCount != test.cycleCount)
    r.note =
        "the result holds " + std::to_string(saved.cycleCount) + " cycles, the test " +
        std::to_string(test.cycleCount) + "; " +
        (saved.cycleCount < test.cycleCount ? "the rest are not measured" : "the extra ones are left out");
  constexpr int kBlock = 8191;
  const auto pins = size_t(test.pinCount);
  std::vector<uint8_t> codes(pins * kBlock);
  for (int first = 1; first <= cycles; first += kBlock) {
    const int count = std::min(kBlock, cycles - first + 1);
    for (int i = 0; i < count; ++i) {
      const CycleCells cells = saved.cells(first + i);
      uint8_t* row = codes.data() + size_t(i) * pins;
      for (size_t p = 0; p < pins; ++p) {
        const uint64_t bit = uint64_t(1) << p;
        row[p] = (cells.dontCare & bit) ? kNotMeasured : (cells.high & bit) ? kReadHigh : kReadLow;
      }
    }
    test.setResultCodes(first, count, codes.data());
  }
  return r;
}

}  // namespace qel::exports
