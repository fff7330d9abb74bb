#pragma once
// How much of the fault list a test finds, per class and overall.

#include <string>
#include <vector>

#include "coverage/fault_list.h"
#include "coverage/fault_simulation.h"

namespace qel::coverage {

struct ClassTotal {
  FaultClass faultClass = FaultClass::Input;
  int faults = 0;
  int detected = 0;
};

struct CoverageTotals {
  std::vector<ClassTotal> classes;  // those with faults, in the order of kFaultClasses
  int faults = 0;
  int detected = 0;
};

// Faults that could not be put on the chip are not counted.
CoverageTotals totalsOf(const std::vector<FaultOutcome>& outcomes);

// Per pin (index = pin, 1..pinCount): how many of the faults naming it the test finds. Memory line
// and cell faults name no pin.
struct PinCoverage {
  int faults = 0;
  int detected = 0;
};
std::vector<PinCoverage> pinCoverage(const std::vector<FaultOutcome>& outcomes, int pinCount);

// "12 из 16 (75 %)"; the percentage rounds down, so 100 % means every fault.
std::string shareText(int detected, int faults);

}  // namespace qel::coverage
