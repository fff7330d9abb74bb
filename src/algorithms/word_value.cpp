#include "algorithms/word_value.h"

#include <array>
#include <cstring>

#include "algorithms/direction_bits.h"

namespace qel::algorithms {

namespace {

// Eight bits spread to eight level bytes, bit 0 in the first byte.
constexpr std::array<uint64_t, 256> kSpread = [] {
  std::array<uint64_t, 256> t{};
  for (unsigned b = 0; b < 256; ++b)
    for (unsigned j = 0; j < 8; ++j) t[b] |= uint64_t((b >> j) & 1u) << (8 * j);
  return t;
}();

uint32_t digits(uint32_t value, int first) {
  return first < 32 ? value >> first : 0u;
}

}  // namespace

WordPins::WordPins(const DataWord& word, int width) {
  int k = 0;
  for (int s = 1; s <= kWordSlots; ++s) {
    const int p = word.pins[size_t(s)];
    if (p <= 0) continue;
    // A pin number past the tables must not spill into the next cycle's row.
    if (k < width) valuePins_.push_back(p <= kMaxSignal ? p : 0);
    if (p <= kMaxDirectPin) {
      directionPins_.push_back(p);
      directionMask_ |= uint64_t(1) << p;
    }
    ++k;
  }
  for (int d = 0; d < int(valuePins_.size()); ++d) {
    const int p = valuePins_[size_t(d)];
    if (p == 0) continue;
    if (!runs_.empty() && runs_.back().firstPin + runs_.back().length == p &&
        runs_.back().firstDigit + runs_.back().length == d)
      ++runs_.back().length;
    else
      runs_.push_back({p, d, 1});
  }
}

void WordPins::write(TestDescription& test, int cycle, uint32_t value, WordMode mode) const {
  if (cycle < 0) return;
  auto& ref = test.referenceBuffer();
  const size_t row = size_t(cycle) * kReferenceRow;
  // Locals, so the byte stores below cannot make the compiler reload them.
  const int* pins = valuePins_.data();
  const size_t n = valuePins_.size();
  if (row + kReferenceRow <= ref.size()) {
    uint8_t* cells = ref.data() + row;
    for (const Run& r : runs_) {
      int done = 0;
      for (; done + 8 <= r.length; done += 8) {
        const uint64_t bytes = kSpread[digits(value, r.firstDigit + done) & 0xFFu];
        std::memcpy(cells + r.firstPin + done, &bytes, 8);
      }
      for (; done < r.length; ++done)
        cells[r.firstPin + done] = uint8_t(digits(value, r.firstDigit + done) & 1u);
    }
  } else {
    for (size_t k = 0; k < n; ++k)
      if (pins[k] != 0) test.setLevel(pins[k], cycle, uint8_t(k < 32 ? (value >> k) & 1u : 0u));
  }
  const bool read = mode == WordMode::Expect;
  if (updateDirection(test.directionBits(), test.directionBitCount(), cycle, directionMask_, read)) return;
  // Most cells already hold the wanted bit; the check is cheaper than the write.
  for (int p : directionPins_)
    if (test.isRead(p, cycle) != read) test.setRead(p, cycle, read);
}

void writeWordValue(TestDescription& test, const DataWord& word, int width, int cycle, uint32_t value,
                    WordMode mode) {
  WordPins(word, width).write(test, cycle, value, mode);
}

}  // namespace qel::algorithms
