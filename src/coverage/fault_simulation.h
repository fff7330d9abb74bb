#pragma once
// Fault simulation: the test run on the board model in the process, once with the good chip and
// once per fault, with the stimulus the engine derives for each block and the comparison the
// program runs after it, so that "found at cycle N" means what a real run on the virtual tester
// would say.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "model/contact_record.h"
#include "model/test_description.h"
#include "virtual/board_config.h"

namespace qel::coverage {

struct FaultOutcome {
  std::string fault;  // its --fault spec
  bool detected = false;
  int firstCycle = 0;  // the first cycle with an error, 0 when missed
  std::string error;   // why the fault could not be put on this chip; not counted then
};

class FaultSimulator {
 public:
  // test: as loaded and expanded; board: the chip, with no fault inside it. A test of millions of
  // cycles would hold gigabytes of drive rows: the blocks past keptBytes are derived by each
  // worker as it reaches them.
  FaultSimulator(const TestDescription& test, virt::BoardConfig board, size_t keptBytes = size_t(64) << 20);

  // The first cycle with an error on the board with the fault added (empty: the good chip), 0
  // when the test passes; -1 with error set when the board cannot be built.
  int firstError(const std::string& fault, std::string& error) const;

  // Every fault, on all cores; progress(done, total) is called from the workers, one at a time.
  // A stop request leaves the faults not yet simulated out of the result.
  std::vector<FaultOutcome> grade(const std::vector<std::string>& faults,
                                  const std::function<void(int, int)>& progress = {},
                                  const std::atomic<bool>* stop = nullptr, int threads = 0) const;

 private:
  class Lane;
  // The drive rows of a block: kept, or derived into own.
  const std::vector<uint8_t>& rowsOf(int block, std::vector<uint8_t>& own) const;

  const TestDescription& test_;
  virt::BoardConfig board_;
  ContactRecords contacts_;  // as a good board gives them: nothing held, nothing joined
  int blockCount_ = 0;
  std::vector<std::vector<uint8_t>> blocks_;  // the drive rows of the first blocks
};

}  // namespace qel::coverage
