#pragma once
// Every read of a memory test beside what the chip answered: the expected word, the measured one,
// and which bits were measured at all.

#include <cstdint>
#include <vector>

#include "algorithms/memory_plan.h"

namespace qel::diagnosis {

struct Reading {
  size_t access = 0;      // index into the plan's accesses
  uint32_t address = 0;   // the address as the address word carries it
  uint32_t expected = 0;  // over the checked bits
  uint32_t measured = 0;  // over the defined bits
  uint32_t checked = 0;   // bits the test expects a level on
  uint32_t defined = 0;   // checked bits the tester read as low or high
  bool failed() const { return ((expected ^ measured) & defined) != 0 || (checked & ~defined) != 0; }
};

// The reads of the plan in order; a read checked over several cycles reports its first failing one.
std::vector<Reading> readingsOf(const TestDescription& test, const algorithms::MemoryPlan& plan);

}  // namespace qel::diagnosis
