#include "exports/export_pins.h"

#include <bit>

namespace qel::exports {

std::vector<ExportPin> exportPins(const TestDescription& t) {
  std::vector<bool> hasRow(size_t(kMaxDirectPin) + 1, false);
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    const int pin = slot > 50 ? slot - 50 : slot;
    if (pin >= 1 && pin <= t.pinCount && pin <= kMaxDirectPin) hasRow[size_t(pin)] = true;
  }
  std::vector<ExportPin> out;
  for (int p = 1; p <= t.pinCount && p <= kMaxDirectPin; ++p) {
    if (!hasRow[size_t(p)] || t.isPassive(p)) continue;
    std::string label = std::to_string(p);
    if (!t.pins[size_t(p)].name.empty()) label += "_" + t.pins[size_t(p)].name;
    out.push_back({p, std::move(label)});
  }
  return out;
}

CycleLevels cycleLevels(const TestDescription& t, int cycle, uint64_t pins) {
  CycleLevels l;
  const CycleCells cells = t.cells(cycle);
  l.expectHigh = cells.high & pins;
  l.expectAny = cells.dontCare & pins;
  const ResultMasks r = t.resultMasks(cycle);
  l.readLow = r.low & pins;
  l.readHigh = r.high & pins;
  for (uint64_t rest = pins & ~(r.low | r.high); rest != 0; rest &= rest - 1) {
    const int pin = std::countr_zero(rest) + 1;
    const uint8_t code = t.resultCode(pin, cycle);
    if (code == kReadOther3 || code == kReadOther4) l.readOther |= uint64_t(1) << (pin - 1);
  }
  return l;
}

}  // namespace qel::exports
