#include <algorithm>
#include <climits>

#include "algorithms/common.h"
#include "algorithms/memory_emitter.h"
#include "algorithms/memory_passes.h"

namespace qel::algorithms {

void expandMarch(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  prepareExpansion(options);
  MarchParams& p = test.algorithms.march;
  if (!checkMemoryTest(test, p, "March C-", true, op)) return;

  const int64_t d = test.words[size_t(p.readDataWord)].width();
  const int64_t cells = int64_t(p.finalAddress) - p.startAddress + 1;
  const RamLayout layout = ramLayout(p, test.templateCycles);
  const int64_t exact = marchCycleCount(layout, cells);
  if (exact < 1) {
    op.message("Блоки записи и чтения алгоритма March C- пусты. Тест не развернут.", Icon::Error);
    return;
  }

  op.waitShow(kWaitCaption, kWaitLabel);
  op.waitRange(0, int(std::clamp<int64_t>(exact, 0, INT_MAX)));
  int64_t fresh = INT64_MAX;
  if (!resizeForExpansion(test, op, exact, &fresh)) {
    op.waitClose();
    return;
  }
  MemoryEmitter emitter(test, op, p, layout);
  marchPasses(emitter, d, p.startAddress, p.finalAddress, p.background);
  op.waitClose();
  markCycleAfterTest(test);
  completeExpansion(test, op, fresh);
}

}  // namespace qel::algorithms
