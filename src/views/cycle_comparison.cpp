#include "views/cycle_comparison.h"

#include "views/mismatch.h"

namespace qel::views {

CycleComparison::CycleComparison(const TestDescription& t) : t_(t) {
  // Rows on slots 1..64 whose pin is the slot are compared a whole cycle at a time; the rest, and
  // the formula outputs, cell by cell.
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    if (slot < 1 || slot > kMaxSignal) continue;
    const int pin = slot > 50 ? slot - 50 : slot;
    comparedPins_ |= uint64_t(1) << (pin - 1);
    RowPlan p{slot, pin, t.pinTypeCodeOf(pin) == kInput, t.pinTypeCodeOf(pin) == kInOut, nullptr};
    if (slot == pin && slot <= 64) {
      const uint64_t bit = uint64_t(1) << (slot - 1);
      wordRows_ |= bit;
      if (p.alwaysDriven) inputs_ |= bit;
      if (p.io) inOut_ |= bit;
    } else {
      cellRows_.push_back(p);
    }
    if (t.pins[size_t(pin)].typeText == "F") {
      formulas_.push_back(std::make_unique<CompiledFormula>(t.formula[size_t(pin)]));
      p.formula = formulas_.back().get();
      formulaRows_.push_back(p);
    }
  }
}

CycleMismatch CycleComparison::compare(int c) const {
  CycleMismatch m;
  if (wordRows_ != 0) {
    const CycleCells cells = t_.cells(c);
    const ResultMasks r = t_.resultMasks(c);
    // A defined level is met only by its own reading: low by code 1, high by code 2.
    const uint64_t met = (~cells.high & r.low) | (cells.high & r.high);
    const uint64_t wrong = ~cells.dontCare & ~met & wordRows_;
    if (wrong != 0) [[unlikely]] {
      const uint64_t driven = inputs_ | (inOut_ & ~cells.read);
      m.pins = wrong;
      m.driven = (wrong & driven) != 0;
      m.read = (wrong & ~driven) != 0;
    }
  }
  for (const auto& p : cellRows_) {
    if (plainMismatch(t_.level(p.slot, c), t_.resultCode(p.pin, c), MismatchRule::Comparison)) {
      const bool driven = p.alwaysDriven || (p.io && !t_.isRead(p.pin, c));
      (driven ? m.driven : m.read) = true;
      m.pins |= uint64_t(1) << (p.pin - 1);
    }
  }
  if (!formulaRows_.empty()) {
    const PinLevels levels = resultLevels(t_, c);
    for (const auto& p : formulaRows_)
      if (formulaMismatch(t_, p.pin, c, *p.formula, levels, MismatchRule::Comparison)) {
        m.read = true;
        m.pins |= uint64_t(1) << (p.pin - 1);
      }
  }
  return m;
}

}  // namespace qel::views
