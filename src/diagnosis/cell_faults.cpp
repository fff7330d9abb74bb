#include "diagnosis/cell_faults.h"

#include <bit>
#include <map>

#include "algorithms/memory_passes.h"

namespace qel::diagnosis {

namespace {

struct CellAccess {
  bool write = false;
  uint32_t data = 0;                 // what a write gives
  const Reading* reading = nullptr;  // of a read
  int bitOf(int bit) const { return int((data >> bit) & 1u); }
};

bool bitChecked(const Reading& r, int bit) {
  return (r.checked >> bit) & 1u;
}
// A level the tester could not read is explained only by a prediction that fails there too.
bool readAgrees(const Reading& r, int bit, int predicted) {
  const uint32_t m = 1u << bit;
  if (!(r.checked & m)) return true;
  if (r.defined & m) return bool(r.measured & m) == bool(predicted);
  return bool(r.expected & m) != bool(predicted);
}

std::optional<int> stuckLevel(const std::vector<CellAccess>& accesses, int bit) {
  for (int level : {0, 1}) {
    bool all = true;
    for (const CellAccess& a : accesses)
      if (!a.write && !readAgrees(*a.reading, bit, level)) all = false;
    if (all) return level;
  }
  return std::nullopt;
}

// The bit never makes the blocked change (rising: 0 to 1), from either level it may have held before
// the first write.
bool blockedExplains(const std::vector<CellAccess>& accesses, int bit, bool rising) {
  const int from = rising ? 0 : 1;
  for (int level : {0, 1}) {
    bool all = true;
    for (const CellAccess& a : accesses) {
      if (a.write) {
        if (!(level == from && a.bitOf(bit) != from)) level = a.bitOf(bit);
      } else if (!readAgrees(*a.reading, bit, level)) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

// Cells whose writes, each time they change this bit, would invert the victim's bit exactly where
// its reads say it was inverted. Parities are counted per cell between the victim's write and read.
void findAggressors(const algorithms::MemoryPlan& plan, const std::vector<Reading>& readings, uint32_t victim,
                    int bit, CellBitFinding& out) {
  const uint32_t mask = algorithms::allOnes(plan.addressWidth);
  const size_t cells = size_t(mask) + 1, words = (cells + 63) / 64;
  std::vector<uint64_t> parity(words), written(words), parityAtWrite(words), writtenAtWrite(words),
      candidates(words, ~uint64_t(0));
  if (cells % 64) candidates.back() = (uint64_t(1) << (cells % 64)) - 1;
  candidates[victim / 64] &= ~(uint64_t(1) << (victim % 64));
  std::vector<int8_t> last(cells, -1);
  int victimLevel = -1;
  size_t next = 0;
  for (const algorithms::MemoryAccess& a : plan.accesses) {
    const uint32_t cell = a.address & mask;
    const uint64_t one = uint64_t(1) << (cell % 64);
    if (a.write) {
      const int8_t level = int8_t((a.data >> bit) & 1u);
      if (cell == victim) {
        victimLevel = level;
        parityAtWrite = parity;
        writtenAtWrite = written;
      } else if (last[cell] != -1 && last[cell] != level) {
        parity[cell / 64] ^= one;
      }
      last[cell] = level;
      written[cell / 64] |= one;
      continue;
    }
    const Reading& r = readings[next++];
    if (cell != victim || victimLevel == -1 || !bitChecked(r, bit)) continue;
    const bool inverted =
        ((r.defined >> bit) & 1u) ? bool((r.measured >> bit) & 1u) != bool(victimLevel) : true;
    for (size_t w = 0; w < words; ++w) {
      const uint64_t changed = parity[w] ^ parityAtWrite[w];
      // A cell first written since the victim's write may have changed from whatever it held.
      const uint64_t unsure = written[w] & ~writtenAtWrite[w];
      candidates[w] &= (inverted ? changed : ~changed) | unsure;
    }
  }
  for (size_t w = 0; w < words; ++w) {
    if (candidates[w] == 0) continue;
    if (out.aggressorCount == 0) out.first = uint32_t(w * 64 + size_t(std::countr_zero(candidates[w])));
    out.last = uint32_t(w * 64 + 63 - size_t(std::countl_zero(candidates[w])));
    out.aggressorCount += size_t(std::popcount(candidates[w]));
  }
}

}  // namespace

std::optional<std::vector<CellBitFinding>> explainByCells(const algorithms::MemoryPlan& plan,
                                                          const std::vector<Reading>& readings) {
  std::map<uint32_t, uint32_t> failingBits;
  for (const Reading& r : readings)
    if (r.failed())
      failingBits[r.address] |= ((r.expected ^ r.measured) & r.defined) | (r.checked & ~r.defined);
  if (failingBits.empty() || failingBits.size() > kMaxDiagnosedCells) return std::nullopt;

  const uint32_t mask = algorithms::allOnes(plan.addressWidth);
  std::map<uint32_t, std::vector<CellAccess>> accesses;
  size_t next = 0;
  for (const algorithms::MemoryAccess& a : plan.accesses) {
    const Reading* r = a.write ? nullptr : &readings[next++];
    const uint32_t cell = a.address & mask;
    if (!failingBits.count(cell)) continue;
    accesses[cell].push_back({a.write, a.data, r});
  }

  std::vector<CellBitFinding> out;
  for (const auto& [cell, bits] : failingBits) {
    for (int bit = 0; bit < 32; ++bit) {
      if (!((bits >> bit) & 1u)) continue;
      const std::vector<CellAccess>& own = accesses[cell];
      CellBitFinding f;
      f.address = cell;
      f.bit = bit;
      f.stuckLevel = stuckLevel(own, bit);
      f.cannotRise = blockedExplains(own, bit, true);
      f.cannotFall = blockedExplains(own, bit, false);
      if (plan.addressWidth <= 20) findAggressors(plan, readings, cell, bit, f);
      if (!f.stuckLevel && !f.cannotRise && !f.cannotFall && f.aggressorCount == 0) return std::nullopt;
      out.push_back(std::move(f));
    }
  }
  return out;
}

}  // namespace qel::diagnosis
