#pragma once
// Whether a cell's measured level disagrees with the expected one. The diagram, the table and the
// comparison run each have their own variant of the rule.

#include <cstdint>

#include "model/test_description.h"
#include "views/formula.h"

namespace qel::views {

enum class MismatchRule { DiagramReference, DiagramResult, Comparison };

// Result level of a code: 1 -> 0, 2 -> 1, 3 and 4 -> 2; -1 for no result (5 and anything else).
constexpr int resultLevel(uint8_t code) {
  return code == 1 ? 0 : code == 2 ? 1 : code == 3 || code == 4 ? 2 : -1;
}

// Rule for pins of every type but "F": expected level e against result code k.
constexpr bool plainMismatch(uint8_t e, uint8_t k, MismatchRule rule) {
  if (e > 1) return false;
  if (rule == MismatchRule::Comparison) return (k >= 1 && k <= 3 ? k - 1 : 2) != e;
  const int r = resultLevel(k);
  return r >= 0 && r != e;
}

// Levels of pins 1..50 in a cycle by the result diagram (code - 1), for formula pins.
PinLevels resultLevels(const TestDescription& test, int cycle);

// Rule for an "F" pin: its formula on the measured levels of the other pins.
bool formulaMismatch(const TestDescription& test, int pin, int cycle, const CompiledFormula& formula,
                     const PinLevels& levels, MismatchRule rule);

// The cell rule of the diagram and the table for one slot in one cycle.
bool isMismatch(const TestDescription& test, int slot, int cycle, MismatchRule rule);

}  // namespace qel::views
