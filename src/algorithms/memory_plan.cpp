#include "algorithms/memory_plan.h"

#include <algorithm>

#include "algorithms/common.h"
#include "algorithms/memory_passes.h"
#include "algorithms/ram.h"

namespace qel::algorithms {

namespace {

// The cycles of a window that fall inside a block, as an offset from the block's first cycle.
struct Placement {
  int64_t offset = 0, count = 0;
};
Placement place(const Window& w, int64_t blockFirst, int64_t blockLast) {
  const int64_t lo = std::max(w.first, blockFirst), hi = std::min(w.last, blockLast);
  return hi < lo ? Placement{} : Placement{lo - blockFirst, hi - lo + 1};
}

// A sink of the pass order that notes each access instead of writing cycles.
class PlanRecorder {
 public:
  PlanRecorder(const MemoryTestParams& p, const RamLayout& l, std::vector<MemoryAccess>& out)
      : layout_(l),
        write_(place(Window(p.writeDataCycle, p.writeDataCycles), l.writeFirst, l.writeLast)),
        read_(place(Window(p.readDataCycle, p.readDataCycles), l.readFirst, l.readLast)),
        out_(out) {}

  void writePass(uint32_t a, uint32_t d) {
    if (write_.count == 0) blind_ = true;
    out_.push_back({true, a, d, int32_t(w_ + write_.offset), int32_t(write_.count)});
    w_ += layout_.writeLength();
  }
  void readPass(uint32_t a, uint32_t e, bool) {
    if (read_.count > 0) out_.push_back({false, a, e, int32_t(w_ + read_.offset), int32_t(read_.count)});
    w_ += layout_.readLength();
  }
  void gauge() {}
  int64_t emitted() const { return w_ - 1; }
  // A write whose data no cycle carries leaves the cell unknown to the plan.
  bool blind() const { return blind_; }

 private:
  const RamLayout& layout_;
  Placement write_, read_;
  std::vector<MemoryAccess>& out_;
  int64_t w_ = 1;
  bool blind_ = false;
};

// The value a word holds in the reference at a cycle; nullopt when a bit is not 0 or 1.
std::optional<uint32_t> referenceValue(const TestDescription& t, const DataWord& w, int cycle) {
  uint32_t v = 0;
  int k = 0;
  for (int s = 1; s <= kWordSlots && k < 32; ++s) {
    const int p = w.pins[size_t(s)];
    if (p <= 0) continue;
    const uint8_t l = t.level(p, cycle);
    if (l > kHigh) return std::nullopt;
    v |= uint32_t(l) << k++;
  }
  return v;
}

std::optional<MemoryPlan> romPlan(const TestDescription& t) {
  const RomParams& r = t.algorithms.rom;
  const DataWord* address = usableWord(t, r.addressWord);
  const DataWord* data = usableWord(t, r.dataWord);
  const int64_t n = t.templateCycles, count = int64_t(r.finalAddress) - r.startAddress + 1;
  if (!address || !data || n < 1 || count < 1 || r.dataCycle < 1 || r.dataCycle > n ||
      count * n != t.cycleCount)
    return std::nullopt;
  MemoryPlan plan;
  plan.kind = AlgorithmKind::Rom;
  plan.addressWord = *address;
  plan.dataWord = *data;
  for (int64_t b = 0; b < count; ++b) {
    const int cycle = int(b * n + r.dataCycle);
    // Without a data file nothing is expected there.
    if (auto e = referenceValue(t, *data, cycle))
      plan.accesses.push_back({false, uint32_t(r.startAddress + b), *e, cycle, 1});
  }
  return plan;
}

std::optional<MemoryPlan> ramPlan(const TestDescription& t, AlgorithmKind kind) {
  const MemoryTestParams& p = kind == AlgorithmKind::Ram
                                  ? static_cast<const MemoryTestParams&>(t.algorithms.ram)
                                  : t.algorithms.march;
  for (int32_t w : {p.readAddressWord, p.writeAddressWord, p.readDataWord, p.writeDataWord})
    if (!usableWord(t, w)) return std::nullopt;
  MemoryPlan plan;
  plan.kind = kind;
  plan.addressWord = t.words[size_t(p.readAddressWord)];
  plan.dataWord = t.words[size_t(p.readDataWord)];
  const int64_t a = plan.addressWord.width(), d = plan.dataWord.width();
  const RamLayout layout = ramLayout(p, t.templateCycles);
  PlanRecorder recorder(p, layout, plan.accesses);
  if (kind == AlgorithmKind::Ram) {
    // The program setting chose compressed or full when the test was expanded; the length tells which.
    const bool full = ramExactCount(layout, a, d, ramCellCount(t.algorithms.ram, false)) == t.cycleCount;
    if (!full && ramExactCount(layout, a, d, 0) != t.cycleCount) return std::nullopt;
    ramPasses(recorder, a, d, full ? p.startAddress : 1, full ? p.finalAddress : 0);
  } else {
    if (marchCycleCount(layout, int64_t(p.finalAddress) - p.startAddress + 1) != t.cycleCount)
      return std::nullopt;
    marchPasses(recorder, d, p.startAddress, p.finalAddress, t.algorithms.march.background);
  }
  if (recorder.blind() || recorder.emitted() != t.cycleCount) return std::nullopt;
  // What the pins carry: the words show only their low bits.
  const uint32_t addressMask = allOnes(a), dataMask = allOnes(d);
  for (MemoryAccess& access : plan.accesses) {
    access.address &= addressMask;
    access.data &= dataMask;
  }
  return plan;
}

}  // namespace

std::optional<MemoryPlan> memoryPlan(const TestDescription& test) {
  std::optional<MemoryPlan> plan;
  switch (test.algorithmNumber) {
    case int32_t(AlgorithmKind::Rom):
      plan = romPlan(test);
      break;
    case int32_t(AlgorithmKind::Ram):
    case int32_t(AlgorithmKind::March):
      plan = ramPlan(test, AlgorithmKind(test.algorithmNumber));
      break;
    default:
      return std::nullopt;
  }
  if (plan) {
    plan->addressWidth = plan->addressWord.width();
    plan->dataWidth = plan->dataWord.width();
  }
  return plan;
}

}  // namespace qel::algorithms
