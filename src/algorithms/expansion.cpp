#include "algorithms/expansion.h"

namespace qel::algorithms {

void expandLoaded(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  switch (test.algorithmNumber) {
    case int32_t(AlgorithmKind::Cyclic):
      expandCyclic(test, op, options);
      break;
    case int32_t(AlgorithmKind::Rom):
      expandRom(test, op, options);
      break;
    case int32_t(AlgorithmKind::Ram):
      expandRam(test, op, options);
      break;
    case int32_t(AlgorithmKind::March):
      expandMarch(test, op, options);
      break;
    default:
      break;
  }
}

void expandAfterCompressionChange(TestDescription& test, Operator& op, const ExpansionOptions& options,
                                  bool previousCompressed) {
  if (options.compressedRamTest != previousCompressed && test.algorithms.ram.selected)
    expandRam(test, op, options);
}

}  // namespace qel::algorithms
