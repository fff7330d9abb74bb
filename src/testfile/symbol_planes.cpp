#include "testfile/symbol_planes.h"

#include <algorithm>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QEL_SSE2 1
#endif

namespace qel::testfile {

namespace {

// Symbols p[0..63] as masks of "_" and "-", symbol i at bit i.
inline void symbolMasks64(const char* p, uint64_t& low, uint64_t& high) {
#ifdef QEL_SSE2
  const __m128i underscore = _mm_set1_epi8('_'), dash = _mm_set1_epi8('-');
  low = high = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    low |= uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, underscore)))) << (16 * i);
    high |= uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v, dash)))) << (16 * i);
  }
#else
  low = high = 0;
  for (int i = 0; i < 64; ++i) {
    low |= uint64_t(p[i] == '_') << i;
    high |= uint64_t(p[i] == '-') << i;
  }
#endif
}

// Masks of word w of the cycles: cycle c is symbol c - 1, for cycles 1..n.
inline void cycleMasks(std::string_view symbols, size_t w, uint64_t& low, uint64_t& high) {
  const size_t n = symbols.size();
  if (w >= 1 && 64 * w + 63 <= n) {
    symbolMasks64(symbols.data() + 64 * w - 1, low, high);
    return;
  }
  low = high = 0;
  const size_t first = std::max<size_t>(1, 64 * w), last = std::min(n, 64 * w + 63);
  for (size_t c = first; c <= last; ++c) {
    const char ch = symbols[c - 1];
    low |= uint64_t(ch == '_') << (c - 64 * w);
    high |= uint64_t(ch == '-') << (c - 64 * w);
  }
}

// Cycles 1..n that fall in word w.
inline uint64_t rangeMask(size_t w, size_t n) {
  const size_t first = std::max<size_t>(1, 64 * w), last = std::min(n, 64 * w + 63);
  if (first > last) return 0;
  const size_t bits = last - first + 1;
  return (bits == 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1) << (first - 64 * w);
}

inline uint64_t wordOf(const std::vector<uint64_t>& v, size_t w) {
  return w < v.size() ? v[w] : 0;
}

}  // namespace

void transposeBits(std::array<uint64_t, 64>& a) {
  uint64_t m = 0x00000000FFFFFFFFull;
  for (size_t j = 32; j != 0; j >>= 1, m ^= m << j) {
    for (size_t k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const uint64_t t = ((a[k] >> j) ^ a[k | j]) & m;
      a[k] ^= t << j;
      a[k | j] ^= t;
    }
  }
}

void SymbolPlanes::add(std::string_view symbols, int slot, int target, bool outputHalf) {
  const size_t n = symbols.size();
  longest_ = std::max(longest_, n);
  const int pin = outputHalf ? target : slot;
  // Slot 0 carries no signal; a read half's own slot only ever reads don't care.
  if (n == 0 || pin < 1 || pin > kMaxDirectPin) return;
  Pin& p = pins_[size_t(pin)];
  const size_t words = n / 64 + 1;
  if (p.written.size() < words) {
    p.written.resize(words);
    p.dontCare.resize(words);
    p.high.resize(words);
  }
  // Only a read half marks cycles read; a pin without one needs no plane for it.
  if (outputHalf && p.read.size() < words) p.read.resize(words);
  for (size_t w = 0; w < words; ++w) {
    uint64_t low, high;
    cycleMasks(symbols, w, low, high);
    // A plain line sets every cycle it covers, driven; a read half only where it says "_" or "-",
    // and makes the pin read there.
    const uint64_t covered = outputHalf ? low | high : rangeMask(w, n);
    p.written[w] |= covered;
    p.dontCare[w] = (p.dontCare[w] & ~covered) | (covered & ~(low | high));
    p.high[w] = (p.high[w] & ~covered) | high;
    if (outputHalf)
      p.read[w] |= covered;
    else if (w < p.read.size())
      p.read[w] &= ~covered;
  }
  lines_ |= uint64_t(1) << (pin - 1);
}

void SymbolPlanes::commit(TestDescription& test, size_t lastCycle) const {
  if (lines_ == 0 || lastCycle == 0) return;
  std::array<uint64_t, 64> written, dontCare, high, read;
  std::array<CellWrite, 64> rows;
  for (size_t w = 0; 64 * w <= lastCycle; ++w) {
    written.fill(0);
    dontCare.fill(0);
    high.fill(0);
    read.fill(0);
    uint64_t anyRead = 0;
    bool whole = true;  // every pin's line covers all of this word, or none of it
    for (int pin = 1; pin <= kMaxDirectPin; ++pin) {
      const Pin& p = pins_[size_t(pin)];
      if (w >= p.written.size()) continue;
      const size_t k = size_t(pin - 1);
      written[k] = p.written[w];
      dontCare[k] = p.dontCare[w];
      high[k] = p.high[w];
      read[k] = wordOf(p.read, w);
      anyRead |= read[k];
      whole = whole && (written[k] == 0 || written[k] == ~uint64_t(0));
    }
    uint64_t wholeMask = 0;
    if (whole) {
      for (size_t k = 0; k < 64; ++k) wholeMask |= uint64_t(written[k] != 0) << k;
    } else {
      transposeBits(written);
    }
    transposeBits(dontCare);
    transposeBits(high);
    if (anyRead != 0) transposeBits(read);
    const size_t first = std::max<size_t>(1, 64 * w), last = std::min(lastCycle, 64 * w + 63);
    for (size_t c = first; c <= last; ++c) {
      const size_t i = c - 64 * w;
      const uint64_t mask = whole ? wholeMask : written[i];
      rows[c - first] = {mask, mask, {dontCare[i], high[i], anyRead != 0 ? read[i] : 0}};
    }
    test.writeCells(int(first), int(last - first + 1), rows.data());
  }
}

}  // namespace qel::testfile
