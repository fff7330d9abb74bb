#include "algorithms/word_value.h"

#include <algorithm>
#include <array>

namespace qel::algorithms {

WordPins::WordPins(const DataWord& word, int width) {
  // The digit each pin finally takes: a pin named twice shows its later digit.
  std::array<int, kMaxSignal + 1> digitOf;
  digitOf.fill(-1);
  int k = 0;
  for (int s = 1; s <= kWordSlots; ++s) {
    const int p = word.pins[size_t(s)];
    if (p <= 0) continue;
    // A pin number past the tables has no level to write.
    if (k < width && p <= kMaxSignal) digitOf[size_t(p)] = k;
    if (p <= kMaxDirectPin) directionMask_ |= uint64_t(1) << (p - 1);
    ++k;
  }
  width_ = std::min(k, width);
  for (int p = 1; p <= kMaxSignal; ++p) {
    const int d = digitOf[size_t(p)];
    if (d < 0) continue;
    if (p > 64) {
      widePins_.push_back({p, d});
      continue;
    }
    levelMask_ |= uint64_t(1) << (p - 1);
    if (!runs_.empty() && runs_.back().firstPin + runs_.back().length == p &&
        runs_.back().firstDigit + runs_.back().length == d)
      ++runs_.back().length;
    else
      runs_.push_back({p, d, 1});
  }
}

void WordPins::write(TestDescription& test, int cycle, uint32_t value, WordMode mode) const {
  if (cycle < 0) return;
  uint64_t high = 0;
  for (const Run& r : runs_) {
    if (r.firstDigit >= 32) continue;
    const uint64_t digits = uint64_t(value >> r.firstDigit);
    const uint64_t mask = r.length >= 64 ? ~uint64_t(0) : (uint64_t(1) << r.length) - 1;
    high |= (digits & mask) << (r.firstPin - 1);
  }
  CycleCells v;
  v.high = high;
  v.read = mode == WordMode::Expect ? directionMask_ : 0;
  test.setCells(cycle, levelMask_, directionMask_, v);
  for (const auto& [pin, digit] : widePins_)
    test.setLevel(pin, cycle, uint8_t(digit < 32 ? (value >> digit) & 1u : 0u));
}

void writeWordValue(TestDescription& test, const DataWord& word, int width, int cycle, uint32_t value,
                    WordMode mode) {
  WordPins(word, width).write(test, cycle, value, mode);
}

}  // namespace qel::algorithms
