#include "algorithms/ram.h"

#include <algorithm>
#include <climits>

#include "algorithms/common.h"
#include "algorithms/memory_emitter.h"
#include "algorithms/memory_passes.h"

namespace qel::algorithms {

void expandRam(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  prepareExpansion(options);
  RamParams& p = test.algorithms.ram;
  if (!checkMemoryTest(test, p, "ОЗУ", !options.compressedRamTest, op)) return;

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
  MemoryEmitter emitter(test, op, p, layout);
  const int64_t first = options.compressedRamTest ? 1 : p.startAddress;
  const int64_t last = options.compressedRamTest ? 0 : p.finalAddress;
  ramPasses(emitter, a, d, first, last);
  op.waitClose();
  resizeForExpansion(test, op, emitter.next() - 1);
  markCycleAfterTest(test);
  completeExpansion(test, op, fresh);
}

}  // namespace qel::algorithms
