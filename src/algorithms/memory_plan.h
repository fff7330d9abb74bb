#pragma once
// What a memory test does to the chip, access by access, rebuilt from the loaded test's algorithm,
// so that the result of every read can be set against what the chip was given before it.

#include <cstdint>
#include <optional>
#include <vector>

#include "model/test_description.h"

namespace qel::algorithms {

struct MemoryAccess {
  bool write = false;
  uint32_t address = 0;    // as the address pins carry it
  uint32_t data = 0;       // written, or expected, as the data pins carry it
  int32_t dataCycle = 0;   // first cycle of the test that carries the data
  int32_t dataCycles = 0;  // cycles that carry it; a read checks each
};

struct MemoryPlan {
  AlgorithmKind kind = AlgorithmKind::Ram;
  std::vector<MemoryAccess> accesses;
  DataWord addressWord;  // the read address word: its pins are the address lines, bit 0 first
  DataWord dataWord;     // the read data word: the data lines
  int addressWidth = 0;
  int dataWidth = 0;
};

// Nullopt when the test is no Rom, Ram or March test, or no longer the test its parameters expand
// to (they changed since). A Ram test is taken as compressed or full by its length.
std::optional<MemoryPlan> memoryPlan(const TestDescription& test);

}  // namespace qel::algorithms
