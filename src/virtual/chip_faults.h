#pragma once
// Faults inside a logic chip: what its logic sees on an input, what it drives on an output, and
// two pins bridged on the die. The pins themselves still follow the tester, so neither the contact
// test nor the read-back of a driven pin sees them; only the chip's answers do.

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "virtual/chip.h"

namespace qel::virt {

struct ChipFaults {
  std::set<int> in0, in1;                    // the logic sees the input low / high whatever the pin carries
  std::set<int> out0, out1;                  // the chip drives the output low / high whenever it drives it
  std::vector<std::pair<int, int>> bridges;  // two pins joined inside: wired-AND

  bool empty() const { return in0.empty() && in1.empty() && out0.empty() && out1.empty() && bridges.empty(); }
};

// Why the faults do not fit the chip (an input fault on an output, a bridge to a supply pin ...);
// empty when they do.
std::string checkChipFaults(const Chip& chip, const ChipFaults& faults);

// The chip with the faults inside it; the chip itself when there are none.
std::unique_ptr<Chip> withChipFaults(std::unique_ptr<Chip> chip, const ChipFaults& faults);

}  // namespace qel::virt
