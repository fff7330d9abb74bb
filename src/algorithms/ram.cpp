#include "algorithms/ram.h"

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
  // The gauge runs to the estimate, which can fall short of the exact count for unusual layouts.
  const int64_t estimate = ramSizeEstimate(layout, t, a, d, cells);
  const int64_t first = options.compressedRamTest ? 1 : p.startAddress;
  const int64_t last = options.compressedRamTest ? 0 : p.finalAddress;
  layOutMemoryTest(test, op, p, layout, "ОЗУ", exact, estimate,
                   [&](MemoryEmitter& e) { ramPasses(e, a, d, first, last); });
}

}  // namespace qel::algorithms
