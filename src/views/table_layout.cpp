#include "views/table_layout.h"

#include <algorithm>

namespace qel::views {

TableLayout TableLayout::of(const TestDescription& t) {
  TableLayout l;
  l.words_ = std::clamp(t.dataWordCount, 0, kMaxDataWords);
  l.cycles_ = std::max(0, t.cycleCount);
  const RomParams& rom = t.algorithms.rom;
  const bool wordsExist =
      rom.addressWord >= 0 && rom.addressWord < l.words_ && rom.dataWord >= 0 && rom.dataWord < l.words_;
  if (rom.selected && wordsExist && t.templateCycles > 0 && rom.finalAddress >= rom.startAddress) {
    l.rom_ = true;
    l.templateCycles_ = t.templateCycles;
    // Only the addresses whose cycles the test holds.
    l.addresses_ = std::min<int64_t>(int64_t(rom.finalAddress) - rom.startAddress + 1,
                                     (l.cycles_ + l.templateCycles_ - 1) / l.templateCycles_);
    TableCell address{rom.addressCycle, rom.addressWord};
    TableCell data{rom.dataCycle, rom.dataWord};
    // In the order of the word indices; the address row first when both are one word.
    if (data.word < address.word) std::swap(address, data);
    l.firstOfAddress_ = address;
    l.secondOfAddress_ = data;
    l.rows_ = 2 * l.addresses_;
    return l;
  }
  l.rows_ = int64_t(l.words_) * l.cycles_;
  return l;
}

TableCell TableLayout::cellOf(int64_t row) const {
  if (row < 0 || row >= rows_) return {};
  if (!rom_) return {int32_t(row / words_ + 1), int32_t(row % words_)};
  const int64_t address = row / 2;
  TableCell c = row % 2 == 0 ? firstOfAddress_ : secondOfAddress_;
  const int64_t cycle = templateCycles_ * address + c.cycle;
  if (cycle < 1 || cycle > cycles_) return {};
  c.cycle = int32_t(cycle);
  return c;
}

int64_t TableLayout::rowOfCycle(int64_t cycle) const {
  if (rows_ == 0) return 0;
  if (!rom_) return std::clamp<int64_t>(int64_t(words_) * (cycle - 1), 0, rows_ - 1);
  if (cycle < 1) return 0;
  const int64_t address = std::min((cycle - 1) / templateCycles_, addresses_ - 1);
  const int64_t within = cycle - templateCycles_ * address;
  int64_t row = 2 * address;
  if (secondOfAddress_.cycle <= within && secondOfAddress_.cycle >= firstOfAddress_.cycle)
    ++row;
  else if (firstOfAddress_.cycle > within && secondOfAddress_.cycle <= within)
    ++row;
  return row;
}

}  // namespace qel::views
