#pragma once
// Faults of whole address or data lines, tried one by one against every read of a memory test.

#include <vector>

#include "diagnosis/memory_readings.h"

namespace qel::diagnosis {

enum class LineFault { DataStuck, DataShort, AddressStuck, AddressShort };

struct LineHypothesis {
  LineFault kind = LineFault::DataStuck;
  int line = 0;   // bit of the word
  int other = 0;  // the second line of a short
  int level = 0;  // of a stuck line
};

// Beyond this many address lines the chip is not simulated.
inline constexpr int kMaxSimulatedAddressLines = 20;

// Every single line fault that makes the chip answer each read exactly as measured, data lines first.
std::vector<LineHypothesis> explainByLines(const algorithms::MemoryPlan& plan,
                                           const std::vector<Reading>& readings);

// Whether the measured word agrees with a predicted one: equal where measured, and failing where the
// tester could not tell the level.
bool agrees(const Reading& r, uint32_t predicted);

}  // namespace qel::diagnosis
