#include "algorithms/word_value.h"

namespace qel::algorithms {

WordPins::WordPins(const DataWord& word, int width) {
  int k = 0;
  for (int s = 1; s <= kWordSlots; ++s) {
    const int p = word.pins[size_t(s)];
    if (p <= 0) continue;
    // A pin number past the tables must not spill into the next cycle's row.
    if (k < width) valuePins_.push_back(p <= kMaxSignal ? p : 0);
    if (p <= kMaxDirectPin) directionPins_.push_back(p);
    ++k;
  }
}

void WordPins::write(TestDescription& test, int cycle, uint32_t value, WordMode mode) const {
  if (cycle < 0) return;
  auto& ref = test.referenceBuffer();
  const size_t row = size_t(cycle) * kReferenceRow;
  const bool inside = row + kReferenceRow <= ref.size();
  for (size_t k = 0; k < valuePins_.size(); ++k) {
    const int p = valuePins_[k];
    if (p == 0) continue;
    const auto digit = uint8_t(k < 32 ? (value >> k) & 1u : 0u);
    if (inside)
      ref[row + size_t(p)] = digit;
    else
      test.setLevel(p, cycle, digit);
  }
  const bool read = mode == WordMode::Expect;
  // Most cells already hold the wanted bit; the check is cheaper than the write.
  for (int p : directionPins_)
    if (test.isRead(p, cycle) != read) test.setRead(p, cycle, read);
}

void writeWordValue(TestDescription& test, const DataWord& word, int width, int cycle, uint32_t value,
                    WordMode mode) {
  WordPins(word, width).write(test, cycle, value, mode);
}

}  // namespace qel::algorithms
