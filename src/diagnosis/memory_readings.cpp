#include "diagnosis/memory_readings.h"

#include "algorithms/memory_passes.h"

namespace qel::diagnosis {

namespace {

// The data pins, bit 0 first, at most 32 of them.
std::vector<int> pinsOf(const DataWord& w) {
  std::vector<int> pins;
  for (int s = 1; s <= kWordSlots && pins.size() < 32; ++s)
    if (w.pins[size_t(s)] > 0) pins.push_back(w.pins[size_t(s)]);
  return pins;
}

Reading readCycle(const TestDescription& t, const std::vector<int>& pins, int cycle) {
  Reading r;
  for (size_t k = 0; k < pins.size(); ++k) {
    const uint32_t bit = 1u << k;
    const uint8_t level = t.level(pins[k], cycle);
    if (level > kHigh) continue;
    r.checked |= bit;
    if (level == kHigh) r.expected |= bit;
    const uint8_t code = t.resultCode(pins[k], cycle);
    if (code == kReadLow || code == kReadHigh) {
      r.defined |= bit;
      if (code == kReadHigh) r.measured |= bit;
    }
  }
  return r;
}

}  // namespace

std::vector<Reading> readingsOf(const TestDescription& t, const algorithms::MemoryPlan& plan) {
  const std::vector<int> pins = pinsOf(plan.dataWord);
  const uint32_t addressMask = algorithms::allOnes(plan.addressWidth);
  std::vector<Reading> out;
  for (size_t i = 0; i < plan.accesses.size(); ++i) {
    const algorithms::MemoryAccess& a = plan.accesses[i];
    if (a.write) continue;
    Reading r;
    for (int c = a.dataCycle; c < a.dataCycle + a.dataCycles; ++c) {
      r = readCycle(t, pins, c);
      if (r.failed()) break;
    }
    r.access = i;
    r.address = a.address & addressMask;
    out.push_back(r);
  }
  return out;
}

}  // namespace qel::diagnosis
