#include "virtual/chip.h"

namespace qel::virt {

std::vector<std::string> knownParts() {
  return {"7400", "7474", "74161", "74245", "2716", "6116"};
}

std::unique_ptr<Chip> makeChip(std::string_view part, std::vector<uint8_t> rom, const MemoryFaults& faults) {
  if (part == "7400") return makeNand7400();
  if (part == "7474") return makeFlipFlop7474();
  if (part == "74161") return makeCounter74161();
  if (part == "74245") return makeTransceiver74245();
  if (part == "2716") return makeEprom2716(std::move(rom), faults);
  if (part == "6116") return makeRam6116(faults);
  return nullptr;
}

}  // namespace qel::virt
