#include "diagnosis/line_faults.h"

#include "algorithms/memory_passes.h"

namespace qel::diagnosis {

namespace {

uint32_t force(uint32_t v, int bit, int level) {
  return level ? v | (1u << bit) : v & ~(1u << bit);
}

// Two bridged lines both carry the lower level.
uint32_t bridge(uint32_t v, int i, int j) {
  const uint32_t both = (1u << i) | (1u << j);
  return (v & both) == both ? v : v & ~both;
}

// A chip of 2^a words under one hypothesis; cells never written (or outside a ROM image) are unknown.
class LineSimulation {
 public:
  LineSimulation(const algorithms::MemoryPlan& plan, const std::vector<Reading>& readings)
      : plan_(plan),
        readings_(readings),
        addressMask_(algorithms::allOnes(plan.addressWidth)),
        dataMask_(algorithms::allOnes(plan.dataWidth)),
        cells_(size_t(addressMask_) + 1),
        known_(cells_.size()) {
    if (plan.kind == AlgorithmKind::Rom) {
      romImage_.assign(cells_.size(), 0);
      romKnown_.assign(cells_.size(), 0);
      for (const Reading& r : readings) {
        romImage_[r.address] = r.expected;
        romKnown_[r.address] = 1;
      }
    }
  }

  bool explains(const LineHypothesis& h) {
    if (plan_.kind == AlgorithmKind::Rom) {
      cells_ = romImage_;
      known_ = romKnown_;
    } else {
      std::fill(known_.begin(), known_.end(), uint8_t{0});
    }
    size_t next = 0;
    for (const algorithms::MemoryAccess& a : plan_.accesses) {
      const uint32_t cell = decode(h, a.address & addressMask_);
      if (a.write) {
        cells_[cell] = data(h, a.data & dataMask_);
        known_[cell] = 1;
        continue;
      }
      const Reading& r = readings_[next++];
      // A failure is explained only by a cell whose content the hypothesis knows.
      if (!known_[cell] ? r.failed() : !agrees(r, data(h, cells_[cell]))) return false;
    }
    return true;
  }

 private:
  static uint32_t decode(const LineHypothesis& h, uint32_t a) {
    if (h.kind == LineFault::AddressStuck) return force(a, h.line, h.level);
    if (h.kind == LineFault::AddressShort) return bridge(a, h.line, h.other);
    return a;
  }
  static uint32_t data(const LineHypothesis& h, uint32_t d) {
    if (h.kind == LineFault::DataStuck) return force(d, h.line, h.level);
    if (h.kind == LineFault::DataShort) return bridge(d, h.line, h.other);
    return d;
  }

  const algorithms::MemoryPlan& plan_;
  const std::vector<Reading>& readings_;
  uint32_t addressMask_, dataMask_;
  std::vector<uint32_t> cells_, romImage_;
  std::vector<uint8_t> known_, romKnown_;
};

}  // namespace

bool agrees(const Reading& r, uint32_t predicted) {
  if ((predicted ^ r.measured) & r.defined) return false;
  const uint32_t undefined = r.checked & ~r.defined;
  return undefined == 0 || ((predicted ^ r.expected) & r.checked) != 0;
}

std::vector<LineHypothesis> explainByLines(const algorithms::MemoryPlan& plan,
                                           const std::vector<Reading>& readings) {
  std::vector<LineHypothesis> out;
  const int a = plan.addressWidth, d = std::min(plan.dataWidth, 32);
  if (a < 1 || a > kMaxSimulatedAddressLines || d < 1) return out;
  std::vector<LineHypothesis> candidates;
  for (int k = 0; k < d; ++k)
    for (int level : {0, 1}) candidates.push_back({LineFault::DataStuck, k, 0, level});
  for (int i = 0; i < d; ++i)
    for (int j = i + 1; j < d; ++j) candidates.push_back({LineFault::DataShort, i, j, 0});
  for (int k = 0; k < a; ++k)
    for (int level : {0, 1}) candidates.push_back({LineFault::AddressStuck, k, 0, level});
  for (int i = 0; i < a; ++i)
    for (int j = i + 1; j < a; ++j) candidates.push_back({LineFault::AddressShort, i, j, 0});
  LineSimulation sim(plan, readings);
  for (const LineHypothesis& h : candidates)
    if (sim.explains(h)) out.push_back(h);
  return out;
}

}  // namespace qel::diagnosis
