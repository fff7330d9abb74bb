#pragma once
// The pins an export shows: those with a signal row (the passive ones have none), in pin order,
// and the levels of a cycle as the exports write them.

#include <cstdint>
#include <string>
#include <vector>

#include "model/test_description.h"

namespace qel::exports {

struct ExportPin {
  int pin;
  std::string label;  // "<pin>_<name>", or the number alone for a pin without a name
};

std::vector<ExportPin> exportPins(const TestDescription& test);

// One cycle's levels of pins 1..64, pin p at bit p - 1: the expected level (low, high, don't
// care) and the measured one (low, high, another reading, not measured).
struct CycleLevels {
  uint64_t expectHigh = 0, expectAny = 0;
  uint64_t readLow = 0, readHigh = 0, readOther = 0;  // the rest of the pins: not measured
};
CycleLevels cycleLevels(const TestDescription& test, int cycle, uint64_t pins);

// The characters of a pin's levels: '0', '1', 'x' (don't care, or a reading that is neither),
// 'z' (not measured).
inline char expectedChar(const CycleLevels& l, uint64_t bit) {
  return (l.expectAny & bit) ? 'x' : (l.expectHigh & bit) ? '1' : '0';
}
inline char measuredChar(const CycleLevels& l, uint64_t bit) {
  return (l.readLow & bit) ? '0' : (l.readHigh & bit) ? '1' : (l.readOther & bit) ? 'x' : 'z';
}

}  // namespace qel::exports
