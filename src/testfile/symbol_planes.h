#pragma once
// Symbol lines gathered per pin as bit planes over the cycles, then laid into the diagram in one
// pass: a file holds each signal's cycles on one line, the diagram holds each cycle's pins in a
// row. Lines apply in file order, each over the cycles it covers, as if written one after another.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/test_description.h"

namespace qel::testfile {

class SymbolPlanes {
 public:
  // The symbol line of signal number `slot`; for the read half of an I/O pin (slot > 50) the
  // levels go to pin `target` and mark it read.
  void add(std::string_view symbols, int slot, int target, bool outputHalf);
  size_t longest() const { return longest_; }
  // Writes cycles 1..lastCycle of every pin a line was given for; the rows must hold them.
  void commit(TestDescription& test, size_t lastCycle) const;

 private:
  // Bit c % 64 of word c / 64 is cycle c. Cycles no line wrote keep what the diagram holds.
  struct Pin {
    std::vector<uint64_t> written, dontCare, high, read;
  };
  std::array<Pin, kMaxDirectPin + 1> pins_;
  uint64_t lines_ = 0;  // pins a line wrote, pin p at bit p - 1
  size_t longest_ = 0;
};

// Transposes a 64 x 64 bit matrix: bit j of a[i] goes to bit i of a[j].
void transposeBits(std::array<uint64_t, 64>& a);

}  // namespace qel::testfile
