#include "algorithms/common.h"

namespace qel::algorithms {

void expandCyclic(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  if (options.emptyErrorList) options.emptyErrorList();
  const CyclicParams& p = test.algorithms.cyclic;
  const int64_t first = p.repeatFirst, last = p.repeatLast, copies = p.repeatCount;
  // A range that starts before cycle 1 or ends before it starts has nothing to repeat.
  if (copies <= 1 || first < 1 || last < first) return;
  const int64_t length = last - first + 1;
  const int64_t lastWritten = last + length * (copies - 1);
  if (lastWritten > test.cycleCount && !resizeForExpansion(test, op, lastWritten)) return;

  // Targets lie after the range, so the source rows are never overwritten.
  for (int64_t i = 1; i < copies; ++i) test.copyLevels(int(first), int(first + i * length), int(length));
}

}  // namespace qel::algorithms
