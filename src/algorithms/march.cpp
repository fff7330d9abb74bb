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
  layOutMemoryTest(test, op, p, layout, "March C-", exact, exact, [&](MemoryEmitter& e) {
    marchPasses(e, d, p.startAddress, p.finalAddress, p.background);
  });
}

}  // namespace qel::algorithms
