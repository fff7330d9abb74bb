#include <algorithm>
#include <array>

#include "virtual/chip.h"
#include "virtual/memory_pins.h"

namespace qel::virt {

namespace {

class MemoryCells {
 public:
  explicit MemoryCells(const MemoryFaults& faults) : faults_(faults) {}
  // A stuck cell reads its stuck value whatever is stored.
  uint8_t read(const std::array<uint8_t, kMemoryWords>& cells, int address) const {
    for (const auto& [a, v] : faults_.stuckCells)
      if (a == address) return v;
    return cells[size_t(address)];
  }

 protected:
  MemoryFaults faults_;
};

class Eprom2716 : public Chip, MemoryCells {
 public:
  Eprom2716(const std::vector<uint8_t>& rom, const MemoryFaults& faults) : MemoryCells(faults) {
    cells_.fill(0xFF);
    std::copy_n(rom.begin(), std::min<size_t>(rom.size(), kMemoryWords), cells_.begin());
    for (const auto& [a, v] : faults.romBytes)
      if (a >= 0 && a < kMemoryWords) cells_[size_t(a)] = v;
  }
  std::string_view part() const override { return "2716"; }
  int pinCount() const override { return 24; }
  PinRole role(int pin) const override { return memoryRole(pin, false); }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const bool enabled = !in[kChipSelectPin] && !in[kOutputEnablePin];
    if (enabled)
      driveData(out, read(cells_, addressOf(in)));
    else
      for (size_t p : kDataPins) out[p] = Drive::None;
  }

 private:
  std::array<uint8_t, kMemoryWords> cells_{};
};

class Ram6116 : public Chip, MemoryCells {
 public:
  explicit Ram6116(const MemoryFaults& faults) : MemoryCells(faults) {}
  std::string_view part() const override { return "6116"; }
  int pinCount() const override { return 24; }
  PinRole role(int pin) const override { return memoryRole(pin, true); }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const bool reading = !in[kChipSelectPin] && !in[kOutputEnablePin] && in[kWriteEnablePin];
    if (reading)
      driveData(out, read(cells_, addressOf(in)));
    else
      for (size_t p : kDataPins) out[p] = Drive::None;
  }
  void commit(const PinBits& in) override {
    if (!in[kChipSelectPin] && !in[kWriteEnablePin]) cells_[size_t(addressOf(in))] = dataOf(in);
  }
  void powerDown() override { cells_.fill(0); }

 private:
  std::array<uint8_t, kMemoryWords> cells_{};
};

}  // namespace

std::unique_ptr<Chip> makeEprom2716(std::vector<uint8_t> rom, const MemoryFaults& faults) {
  return std::make_unique<Eprom2716>(rom, faults);
}

std::unique_ptr<Chip> makeRam6116(const MemoryFaults& faults) {
  return std::make_unique<Ram6116>(faults);
}

}  // namespace qel::virt
