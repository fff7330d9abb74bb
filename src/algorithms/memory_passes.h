#pragma once
// The order of writes and reads of the two static RAM tests, for any sink: the expansion lays them
// out as cycles, the diagnosis replays them to learn what each read cycle checked.
//
// A sink has writePass(address, data), readPass(address, expected, gaugeEachCycle) and gauge().

#include <cstdint>

#include "model/algorithm_settings.h"

namespace qel::algorithms {

inline uint32_t allOnes(int64_t bits) {
  return bits >= 32 ? 0xFFFFFFFFu : bits <= 0 ? 0u : (1u << bits) - 1u;
}

// Walking one: doubles; with wrapping, a value shifted out restarts at 1.
inline uint32_t nextWalking(uint32_t v, bool wrapping) {
  v *= 2u;
  return wrapping && v == 0 ? 1u : v;
}

// ...0101 and ...1010 as the RAM test builds them over d data bits: one loop, two starts.
inline uint32_t alternatingBits(uint32_t s, int64_t firstStep, int64_t d) {
  uint32_t m = 1;
  for (int64_t j = firstStep; j <= d; ++j) {
    m *= 2u;
    if (j % 2 == 1) s += m;
  }
  return s;
}
inline uint32_t pattern55(int64_t d) {
  return alternatingBits(1, 0, d);
}
inline uint32_t patternAA(int64_t d) {
  return alternatingBits(0, 1, d);
}

// Zero, data bus, address bus, address decoding, then both patterns through every cell of
// first..last (none when last < first).
template <class Sink>
void ramPasses(Sink& e, int64_t a, int64_t d, int64_t first, int64_t last) {
  e.writePass(0, 0);
  e.readPass(0, 0, false);

  uint32_t v = 1;
  for (int64_t k = 1; k <= d; ++k, v = nextWalking(v, true)) {
    e.writePass(0, v);
    e.readPass(0, v, false);
    e.gauge();
  }
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, true)) {
    e.writePass(v, 0);
    e.gauge();
  }
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, false)) {
    e.readPass(v, 0, false);
    e.gauge();
  }
  const uint32_t ones = allOnes(a);
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, true)) {
    e.writePass(v, ones);
    uint32_t u = 1;
    for (int64_t k2 = 1; k2 <= a - 1; ++k2, u = nextWalking(u, true)) e.readPass(u, u == v ? ones : 0, true);
    e.writePass(v, 0);
  }
  const uint32_t p55 = pattern55(d), paa = patternAA(d);
  for (int64_t x = first; x <= last; ++x) {
    e.writePass(uint32_t(x), p55);
    e.gauge();
    e.readPass(uint32_t(x), p55, false);
  }
  for (int64_t x = first; x <= last; ++x) {
    e.writePass(uint32_t(x), paa);
    e.gauge();
    e.readPass(uint32_t(x), paa, false);
    e.gauge();
  }
}

// What "0" is in the cell at an address: all zeros, or 0101... at even and 1010... at odd addresses,
// so that neighbouring data lines and neighbouring cells always hold opposite values.
inline uint32_t marchZero(MarchBackground background, uint32_t address, int64_t d) {
  if (background != MarchBackground::Checkerboard) return 0;
  return ((address & 1u) ? patternAA(d) : pattern55(d)) & allOnes(d);
}

// March C-: up w0; up r0 w1; up r1 w0; down r0 w1; down r1 w0; up r0 (ten accesses per address).
template <class Sink>
void marchPasses(Sink& e, int64_t d, int64_t first, int64_t last, MarchBackground background) {
  const uint32_t mask = allOnes(d);
  auto zero = [&](int64_t x) { return marchZero(background, uint32_t(x), d); };
  auto one = [&](int64_t x) { return ~zero(x) & mask; };
  for (int64_t x = first; x <= last; ++x) {
    e.writePass(uint32_t(x), zero(x));
    e.gauge();
  }
  // Read the value the element expects, then write its complement.
  auto element = [&](bool up, bool expectOne) {
    for (int64_t i = 0; i <= last - first; ++i) {
      const int64_t x = up ? first + i : last - i;
      e.readPass(uint32_t(x), expectOne ? one(x) : zero(x), false);
      e.writePass(uint32_t(x), expectOne ? zero(x) : one(x));
      e.gauge();
    }
  };
  element(true, false);
  element(true, true);
  element(false, false);
  element(false, true);
  for (int64_t x = first; x <= last; ++x) {
    e.readPass(uint32_t(x), zero(x), false);
    e.gauge();
  }
}

}  // namespace qel::algorithms
