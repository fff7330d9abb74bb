#pragma once
// Lays the writes and reads of a static RAM test out as cycles: each pass copies its template block
// and puts the address and the data into their windows.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "algorithms/ram.h"
#include "algorithms/word_value.h"
#include "operator/operator.h"

namespace qel::algorithms {

class MemoryEmitter {
 public:
  MemoryEmitter(TestDescription& test, Operator& op, const MemoryTestParams& p, const RamLayout& layout);

  // The next cycle to be written.
  int next() const { return w_; }
  void gauge() { op_.waitProgress(w_); }
  void writePass(uint32_t address, uint32_t data);
  void readPass(uint32_t address, uint32_t expected, bool gaugeEachCycle);

 private:
  void restore(int c);

  TestDescription& test_;
  Operator& op_;
  const RamLayout& layout_;
  WordPins writeAddress_, writeData_, readAddress_, readData_;
  Window writeAddressWindow_, writeDataWindow_, readAddressWindow_, readDataWindow_;
  int w_ = 1;
};

// Lays out `exact` cycles of a memory test: the empty-blocks refusal, the wait window up to
// gaugeMaximum, the test sized once, passes(emitter) writing the cycles, and the common completion.
void layOutMemoryTest(TestDescription& test, Operator& op, const MemoryTestParams& p, const RamLayout& layout,
                      std::string_view algorithm, int64_t exact, int64_t gaugeMaximum,
                      const std::function<void(MemoryEmitter&)>& passes);

// Refuses (with a message naming the algorithm) a test whose four words are not all usable, and
// puts a reversed address range in order when the range is used. False when refused.
bool checkMemoryTest(TestDescription& test, MemoryTestParams& p, std::string_view algorithm, bool rangeUsed,
                     Operator& op);

}  // namespace qel::algorithms
