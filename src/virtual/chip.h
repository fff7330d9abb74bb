#pragma once
// Behavioural models of real parts with their real pinouts.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "virtual/logic.h"

namespace qel::virt {

class Chip {
 public:
  virtual ~Chip() = default;
  virtual std::string_view part() const = 0;
  virtual int pinCount() const = 0;
  virtual PinRole role(int pin) const = 0;
  // What the chip drives (out) for what it sees on its pins (in, 0 or 1 per pin), without
  // changing its state; called until the board settles.
  virtual void evaluate(const PinBits& in, PinDrives& out) const = 0;
  // Once per settled sample: clock edges, presets, memory writes.
  virtual void commit(const PinBits& in) { (void)in; }
  // Supply lost: state forgotten.
  virtual void powerDown() {}
};

// Faults inside a memory part. Lines are numbered as the part's A0.. and D0.. lines.
struct MemoryFaults {
  std::vector<std::pair<int, uint8_t>> stuckCells;     // address, value it always reads
  std::vector<std::pair<int, uint8_t>> romBytes;       // address, value the ROM holds instead
  std::vector<std::pair<int, int>> stuckAddressLines;  // line, the level the decoder always sees
  std::vector<std::pair<int, int>> addressShorts;      // two lines the decoder sees as one: low wins
  std::vector<std::pair<int, int>> dataShorts;         // two lines bridged inside: low wins, both ways
  struct Transition {
    int address, bit;
    bool rising;  // the bit cannot go from 0 to 1 (true) or from 1 to 0 (false)
  };
  std::vector<Transition> transitions;
  struct Coupling {
    int aggressor, victim, bit;  // a write that changes this bit of the aggressor inverts the victim's
  };
  std::vector<Coupling> couplings;

  bool empty() const {
    return stuckCells.empty() && romBytes.empty() && stuckAddressLines.empty() && addressShorts.empty() &&
           dataShorts.empty() && transitions.empty() && couplings.empty();
  }
};

// The 7400, 7474 and 74245 are chip models in the text format (chip_model.h); the counter's
// load, count enables and carry stay here, where they read more plainly than as equations.
std::unique_ptr<Chip> makeCounter74161();
// rom: byte k = address k; missing addresses read as erased (FF).
std::unique_ptr<Chip> makeEprom2716(std::vector<uint8_t> rom, const MemoryFaults& faults);
std::unique_ptr<Chip> makeRam6116(const MemoryFaults& faults);

// The parts the virtual tester knows, by their usual part numbers.
std::vector<std::string> knownParts();
// Null for an unknown part.
std::unique_ptr<Chip> makeChip(std::string_view part, std::vector<uint8_t> rom, const MemoryFaults& faults);

}  // namespace qel::virt
