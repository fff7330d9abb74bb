#include "algorithms/memory_emitter.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "algorithms/common.h"

namespace qel::algorithms {

namespace {

WordPins pinsOf(const TestDescription& test, int32_t word) {
  const DataWord& w = test.words[size_t(word)];
  return WordPins(w, w.width());
}

}  // namespace

MemoryEmitter::MemoryEmitter(TestDescription& test, Operator& op, const MemoryTestParams& p,
                             const RamLayout& layout)
    : test_(test),
      op_(op),
      layout_(layout),
      writeAddress_(pinsOf(test, p.writeAddressWord)),
      writeData_(pinsOf(test, p.writeDataWord)),
      readAddress_(pinsOf(test, p.readAddressWord)),
      readData_(pinsOf(test, p.readDataWord)),
      writeAddressWindow_(p.writeAddressCycle, p.writeAddressCycles),
      writeDataWindow_(p.writeDataCycle, p.writeDataCycles),
      readAddressWindow_(p.readAddressCycle, p.readAddressCycles),
      readDataWindow_(p.readDataCycle, p.readDataCycles) {}

void MemoryEmitter::writePass(uint32_t a, uint32_t d) {
  for (int c = layout_.writeFirst; c <= layout_.writeLast; ++c) {
    restore(c);
    if (writeAddressWindow_.contains(c)) writeAddress_.write(test_, w_, a, WordMode::Drive);
    if (writeDataWindow_.contains(c)) writeData_.write(test_, w_, d, WordMode::Drive);
    ++w_;
  }
}

void MemoryEmitter::readPass(uint32_t a, uint32_t e, bool gaugeEachCycle) {
  for (int c = layout_.readFirst; c <= layout_.readLast; ++c) {
    restore(c);
    if (readAddressWindow_.contains(c)) readAddress_.write(test_, w_, a, WordMode::Drive);
    if (readDataWindow_.contains(c)) readData_.write(test_, w_, e, WordMode::Expect);
    ++w_;
    if (gaugeEachCycle) gauge();
  }
}

// The template cycle as loaded: the backup outlives the expansion writing over the template.
void MemoryEmitter::restore(int c) {
  test_.restoreCycle(c, w_);
}

void layOutMemoryTest(TestDescription& test, Operator& op, const MemoryTestParams& p, const RamLayout& layout,
                      std::string_view algorithm, int64_t exact, int64_t gaugeMaximum,
                      const std::function<void(MemoryEmitter&)>& passes) {
  if (exact < 1) {
    op.message("Блоки записи и чтения алгоритма " + std::string(algorithm) + " пусты. Тест не развернут.",
               Icon::Error);
    return;
  }
  op.waitShow(kWaitCaption, kWaitLabel);
  op.waitRange(0, int(std::clamp<int64_t>(gaugeMaximum, 0, INT_MAX)));
  // Sized once, to the exact count.
  if (!resizeForExpansion(test, op, exact)) {
    op.waitClose();
    return;
  }
  MemoryEmitter emitter(test, op, p, layout);
  passes(emitter);
  op.waitClose();
  resizeForExpansion(test, op, emitter.next() - 1);
  markCycleAfterTest(test);
  completeExpansion(test, op);
}

bool checkMemoryTest(TestDescription& test, MemoryTestParams& p, std::string_view algorithm, bool rangeUsed,
                     Operator& op) {
  const std::pair<int32_t, const char*> words[] = {{p.readAddressWord, "адреса чтения"},
                                                   {p.writeAddressWord, "адреса записи"},
                                                   {p.readDataWord, "данных чтения"},
                                                   {p.writeDataWord, "данных записи"}};
  for (const auto& [index, what] : words)
    if (!usableWord(test, index)) {
      op.message(std::string("Слово ") + what + " алгоритма " + std::string(algorithm) +
                     " не задано или не содержит контактов. Тест не развернут.",
                 Icon::Error);
      return false;
    }
  if (rangeUsed && p.startAddress > p.finalAddress) {
    std::swap(p.startAddress, p.finalAddress);
    op.log("Начальный адрес " + std::string(algorithm) + " больше конечного: адреса переставлены");
  }
  return true;
}

}  // namespace qel::algorithms
