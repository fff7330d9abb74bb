#pragma once
// A quad NAND test of any length, built in memory: inputs from a pattern that never repeats with
// the block length, outputs expected from them.

#include <cstdint>

#include "model/test_description.h"

namespace qel::testing {

inline int nandInputBit(int cycle, int input) {
  const uint32_t x = uint32_t(cycle) * 2654435761u + uint32_t(input) * 40503u;
  return int((x >> 17) & 1u);
}

inline void buildNandTest(TestDescription& t, int cycles) {
  t.reset();
  t.pinCount = 14;
  const char* types[15] = {"", "I", "I", "O", "I", "I", "O", "GND", "O", "I", "I", "O", "I", "I", "VCC"};
  for (int p = 1; p <= 14; ++p) t.pins[size_t(p)].typeText = types[p];
  t.computeTypeCodes();
  t.setCycleCount(cycles);
  const int gates[4][3] = {{1, 2, 3}, {4, 5, 6}, {9, 10, 8}, {12, 13, 11}};
  for (int c = 1; c <= cycles; ++c)
    for (const auto& g : gates) {
      const int a = nandInputBit(c, g[0]), b = nandInputBit(c, g[1]);
      t.setLevel(g[0], c, uint8_t(a));
      t.setLevel(g[1], c, uint8_t(b));
      t.setLevel(g[2], c, uint8_t(!(a && b)));
      t.setRead(g[2], c, true);
    }
  t.clearResults();
  t.testNames[1] = "7400 built";
  t.loaded = true;
}

}  // namespace qel::testing
