#include "algorithms/ram.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "algorithms/common.h"
#include "algorithms/word_value.h"

namespace qel::algorithms {

namespace {

struct Window {
  int64_t first = 0, last = -1;
  Window(int64_t cycle, int64_t cycles) : first(cycle), last(cycle + cycles - 1) {}
  bool contains(int c) const { return c >= first && c <= last; }
};

// Walking one: doubles; with wrapping, a value shifted out restarts at 1.
uint32_t nextWalking(uint32_t v, bool wrapping) {
  v *= 2u;
  return wrapping && v == 0 ? 1u : v;
}

uint32_t allOnes(int64_t bits) {
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

uint32_t pattern55(int64_t d) {
  uint32_t s = 1, m = 1;
  for (int64_t j = 0; j <= d; ++j) {
    m *= 2u;
    if (j % 2 == 1) s += m;
  }
  return s;
}

uint32_t patternAA(int64_t d) {
  uint32_t s = 0, m = 1;
  for (int64_t j = 1; j <= d; ++j) {
    m *= 2u;
    if (j % 2 == 1) s += m;
  }
  return s;
}

class RamEmitter {
 public:
  RamEmitter(TestDescription& test, Operator& op, const RamParams& p, const RamLayout& layout)
      : test_(test),
        op_(op),
        layout_(layout),
        writeAddress_(test.words[size_t(p.writeAddressWord)], test.words[size_t(p.writeAddressWord)].width()),
        writeData_(test.words[size_t(p.writeDataWord)], test.words[size_t(p.writeDataWord)].width()),
        readAddress_(test.words[size_t(p.readAddressWord)], test.words[size_t(p.readAddressWord)].width()),
        readData_(test.words[size_t(p.readDataWord)], test.words[size_t(p.readDataWord)].width()),
        writeAddressWindow_(p.writeAddressCycle, p.writeAddressCycles),
        writeDataWindow_(p.writeDataCycle, p.writeDataCycles),
        readAddressWindow_(p.readAddressCycle, p.readAddressCycles),
        readDataWindow_(p.readDataCycle, p.readDataCycles) {
    // The template rows as loaded, copied once so each emitted cycle is one block copy.
    const int t = std::max(layout.writeLast, layout.readLast);
    template_.assign(size_t(std::max(t, 0) + 1) * kReferenceRow, kDontCare);
    for (int c = 1; c <= t; ++c)
      for (int s = 1; s <= kMaxSignal; ++s)
        template_[size_t(c) * kReferenceRow + size_t(s)] = test.backupLevel(s, c);
  }

  int next() const { return w_; }
  void gauge() { op_.waitProgress(w_); }

  void writePass(uint32_t a, uint32_t d) {
    for (int c = layout_.writeFirst; c <= layout_.writeLast; ++c) {
      restore(c);
      if (writeAddressWindow_.contains(c)) writeAddress_.write(test_, w_, a, WordMode::Drive);
      if (writeDataWindow_.contains(c)) writeData_.write(test_, w_, d, WordMode::Drive);
      ++w_;
    }
  }

  void readPass(uint32_t a, uint32_t e, bool gaugeEachCycle = false) {
    for (int c = layout_.readFirst; c <= layout_.readLast; ++c) {
      restore(c);
      if (readAddressWindow_.contains(c)) readAddress_.write(test_, w_, a, WordMode::Drive);
      if (readDataWindow_.contains(c)) readData_.write(test_, w_, e, WordMode::Expect);
      ++w_;
      if (gaugeEachCycle) gauge();
    }
  }

 private:
  void restore(int c) {
    auto& ref = test_.referenceBuffer();
    const size_t to = size_t(w_) * kReferenceRow + 1;
    if (to + kMaxSignal <= ref.size())
      std::memcpy(ref.data() + to, template_.data() + size_t(c) * kReferenceRow + 1, kMaxSignal);
    else
      test_.restoreCycle(c, w_);
  }

  TestDescription& test_;
  Operator& op_;
  const RamLayout& layout_;
  WordPins writeAddress_, writeData_, readAddress_, readData_;
  Window writeAddressWindow_, writeDataWindow_, readAddressWindow_, readDataWindow_;
  std::vector<uint8_t> template_;
  int w_ = 1;
};

void emitPasses(RamEmitter& e, int64_t a, int64_t d, int64_t first, int64_t last) {
  e.writePass(0, 0);
  e.readPass(0, 0);

  uint32_t v = 1;
  for (int64_t k = 1; k <= d; ++k, v = nextWalking(v, true)) {
    e.writePass(0, v);
    e.readPass(0, v);
    e.gauge();
  }
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, true)) {
    e.writePass(v, 0);
    e.gauge();
  }
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, false)) {
    e.readPass(v, 0);
    e.gauge();
  }
  const uint32_t ones = allOnes(a);
  v = 1;
  for (int64_t k = 1; k <= a - 1; ++k, v = nextWalking(v, true)) {
    e.writePass(v, ones);
    uint32_t u = 1;
    for (int64_t k2 = 1; k2 <= a - 1; ++k2, u = nextWalking(u, true)) e.readPass(u, u == v ? ones : 0, true);
    e.writePass(v, 0);
  }
  const uint32_t p55 = pattern55(d), paa = patternAA(d);
  for (int64_t x = first; x <= last; ++x) {
    e.writePass(uint32_t(x), p55);
    e.gauge();
    e.readPass(uint32_t(x), p55);
  }
  for (int64_t x = first; x <= last; ++x) {
    e.writePass(uint32_t(x), paa);
    e.gauge();
    e.readPass(uint32_t(x), paa);
    e.gauge();
  }
}

}  // namespace

void expandRam(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  prepareExpansion(options);
  RamParams& p = test.algorithms.ram;
  const std::pair<int32_t, const char*> words[] = {{p.readAddressWord, "адреса чтения"},
                                                   {p.writeAddressWord, "адреса записи"},
                                                   {p.readDataWord, "данных чтения"},
                                                   {p.writeDataWord, "данных записи"}};
  for (const auto& [index, what] : words)
    if (!usableWord(test, index)) {
      op.message(std::string("Слово ") + what +
                     " алгоритма ОЗУ не задано или не содержит контактов. Тест не развернут.",
                 Icon::Error);
      return;
    }
  if (!options.compressedRamTest && p.startAddress > p.finalAddress) {
    std::swap(p.startAddress, p.finalAddress);
    op.log("Начальный адрес ОЗУ больше конечного: адреса переставлены");
  }

  const int t = test.templateCycles;
  const int64_t a = test.words[size_t(p.readAddressWord)].width();
  const int64_t d = test.words[size_t(p.readDataWord)].width();
  const int64_t cells = ramCellCount(p, options.compressedRamTest);
  const RamLayout layout = ramLayout(p, t);
  const int64_t exact = ramExactCount(layout, a, d, cells);
  if (exact < 1) {
    op.message("Блоки записи и чтения алгоритма ОЗУ пусты. Тест не развернут.", Icon::Error);
    return;
  }
  const int64_t estimate = ramSizeEstimate(layout, t, a, d, cells);

  op.waitShow(kWaitCaption, kWaitLabel);
  op.waitRange(0, int(std::clamp<int64_t>(estimate, 0, INT_MAX)));
  // Sized once to the exact count: the estimate can fall short for unusual layouts.
  int64_t fresh = INT64_MAX;
  if (!resizeForExpansion(test, op, exact, &fresh)) {
    op.waitClose();
    return;
  }
  RamEmitter emitter(test, op, p, layout);
  const int64_t first = options.compressedRamTest ? 1 : p.startAddress;
  const int64_t last = options.compressedRamTest ? 0 : p.finalAddress;
  emitPasses(emitter, a, d, first, last);
  op.waitClose();
  resizeForExpansion(test, op, emitter.next() - 1);
  markCycleAfterTest(test);
  completeExpansion(test, op, fresh);
}

}  // namespace qel::algorithms
