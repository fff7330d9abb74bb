#pragma once
// Small hand-made tests, in the state a load leaves them before the expansion.

#include <string>
#include <string_view>
#include <vector>

#include "model/test_description.h"

namespace qel::testing {

struct TemplateBuilder {
  TestDescription t;

  explicit TemplateBuilder(int pinCount) {
    t.reset();
    t.pinCount = pinCount;
    for (int p = 1; p <= pinCount; ++p) t.rows[size_t(p)] = {p, 1};
  }
  TemplateBuilder& pin(int p, std::string type) {
    t.pins[size_t(p)].typeText = std::move(type);
    return *this;
  }
  TemplateBuilder& word(int index, std::vector<int> pins, int radix = 16) {
    DataWord& w = t.words[size_t(index)];
    w.name = "W" + std::to_string(index);
    for (size_t k = 0; k < pins.size(); ++k) w.pins[k + 1] = pins[k];
    if (index + 1 > t.dataWordCount) t.dataWordCount = index + 1;
    for (auto& each : t.words) each.radix = radix;
    return *this;
  }
  // One symbol per cycle, as in a file: "_" low, "-" high, anything else don't care.
  TemplateBuilder& signal(int p, std::string_view symbols) {
    if (int(symbols.size()) > t.cycleCount) t.setCycleCount(int(symbols.size()));
    for (size_t c = 0; c < symbols.size(); ++c) {
      const char s = symbols[c];
      t.setLevel(p, int(c + 1), s == '_' ? kLow : s == '-' ? kHigh : kDontCare);
    }
    return *this;
  }
  TemplateBuilder& cycles(int n) {
    t.setCycleCount(n);
    return *this;
  }
  // What the reader does after the last line: backup, template length, type codes.
  TestDescription& loaded(int algorithmNumber) {
    t.algorithmNumber = algorithmNumber;
    t.algorithms.select(algorithmNumber);
    t.computeTypeCodes();
    for (int s = 1; s <= t.pinCount; ++s) t.setLevel(s, t.cycleCount + 1, kDontCare);
    t.takeReferenceBackup();
    t.templateCycles = t.cycleCount;
    t.clearResults();
    t.loaded = true;
    return t;
  }
};

// A RAM template's blocks: write in cycles 1..2 (data driven in both), read in 3..4 (data checked
// in 4); address word 0, data word 1, addresses 0..finalAddress.
inline void twoBlockMemoryTest(MemoryTestParams& p, int finalAddress) {
  p.startAddress = 0;
  p.finalAddress = finalAddress;
  p.writeStartCycle = p.writeAddressCycle = 1;
  p.readStartCycle = p.readAddressCycle = 3;
  p.writeAddressCycles = p.readAddressCycles = 2;
  p.writeDataCycle = 1;
  p.writeDataCycles = 2;
  p.readDataCycle = 4;
  p.readAddressWord = p.writeAddressWord = 0;
  p.readDataWord = p.writeDataWord = 1;
}

// The value a word shows in the reference at a cycle, or -1 when a bit is not 0 or 1.
inline long wordLevels(const TestDescription& t, int word, int cycle) {
  long v = 0;
  const DataWord& w = t.words[size_t(word)];
  for (int k = 0; k < w.filledSlots(); ++k) {
    const uint8_t l = t.level(w.pins[size_t(k + 1)], cycle);
    if (l > 1) return -1;
    v |= long(l) << k;
  }
  return v;
}

// 1 when every pin of the word is read in that cycle, 0 when every one is driven, -1 when mixed.
inline int wordDirection(const TestDescription& t, int word, int cycle) {
  const DataWord& w = t.words[size_t(word)];
  int reads = 0;
  for (int k = 0; k < w.filledSlots(); ++k) reads += t.isRead(w.pins[size_t(k + 1)], cycle) ? 1 : 0;
  return reads == 0 ? 0 : reads == w.filledSlots() ? 1 : -1;
}

}  // namespace qel::testing
