#include "views/mismatch.h"

namespace qel::views {

PinLevels resultLevels(const TestDescription& test, int cycle) {
  PinLevels l{};
  for (int p = 1; p <= 50; ++p) l[size_t(p)] = uint8_t(test.resultCode(p, cycle) - 1);
  return l;
}

bool formulaMismatch(const TestDescription& test, int pin, int cycle, const CompiledFormula& formula,
                     const PinLevels& levels, MismatchRule rule) {
  const int r = resultLevel(test.resultCode(pin, cycle));
  if (r < 0) return false;
  if (rule == MismatchRule::Comparison && r > 1) return false;
  const int x = formula.evaluate(levels);
  if (r == x || x == 2) return false;
  if (rule != MismatchRule::DiagramReference && test.level(pin, cycle) == kDontCare) return false;
  return true;
}

bool isMismatch(const TestDescription& test, int slot, int cycle, MismatchRule rule) {
  if (slot < 1 || slot > kMaxSignal) return false;
  const int pin = slot > 50 ? slot - 50 : slot;
  if (test.pins[size_t(pin)].typeText == "F") {
    const CompiledFormula f(test.formula[size_t(pin)]);
    return formulaMismatch(test, pin, cycle, f, resultLevels(test, cycle), rule);
  }
  return plainMismatch(test.level(slot, cycle), test.resultCode(pin, cycle), rule);
}

}  // namespace qel::views
