#pragma once
// Faults of single cells: a bit stuck, a bit that cannot change one way, a bit that another cell's
// writes invert. Each failing bit is tried against every access to its cell.

#include <optional>
#include <vector>

#include "diagnosis/memory_readings.h"

namespace qel::diagnosis {

struct CellBitFinding {
  uint32_t address = 0;
  int bit = 0;
  std::optional<int> stuckLevel;  // the bit always reads this
  bool cannotRise = false;        // from 0 to 1
  bool cannotFall = false;        // from 1 to 0
  // Cells whose writes, changing this bit of theirs, would invert it: how many, the lowest and the
  // highest of them.
  size_t aggressorCount = 0;
  uint32_t first = 0, last = 0;
};

// Cells with failing reads beyond this many are not looked at one by one.
inline constexpr size_t kMaxDiagnosedCells = 8;

// One finding per failing bit of every failing cell, by address and bit; nullopt when some failing
// bit has no single-cell explanation or too many cells fail.
std::optional<std::vector<CellBitFinding>> explainByCells(const algorithms::MemoryPlan& plan,
                                                          const std::vector<Reading>& readings);

}  // namespace qel::diagnosis
