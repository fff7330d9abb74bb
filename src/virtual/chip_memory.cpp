#include <algorithm>
#include <array>

#include "virtual/chip.h"
#include "virtual/memory_pins.h"

namespace qel::virt {

namespace {

uint8_t bit(int b) {
  return uint8_t(1u << b);
}

// The array behind the pins, with what is wrong inside it.
class MemoryCore {
 public:
  explicit MemoryCore(const MemoryFaults& faults) : faults_(faults) {}

  // The cell the decoder selects for the levels on the address pins.
  int decode(const PinBits& in) const {
    int a = addressOf(in);
    for (const auto& [i, j] : faults_.addressShorts) {
      const bool low = !(a >> i & 1) || !(a >> j & 1);
      if (low) a &= ~(1 << i) & ~(1 << j);
    }
    for (const auto& [line, level] : faults_.stuckAddressLines) a = level ? a | 1 << line : a & ~(1 << line);
    return a & (kMemoryWords - 1);
  }
  // Bridged data lines carry the lower of their two levels, into the array and out of it.
  uint8_t bridge(uint8_t v) const {
    for (const auto& [i, j] : faults_.dataShorts)
      if (!(v & bit(i)) || !(v & bit(j))) v = uint8_t(v & ~bit(i) & ~bit(j));
    return v;
  }
  uint8_t read(int address) const {
    for (const auto& [a, v] : faults_.stuckCells)
      if (a == address) return bridge(v);
    return bridge(cells_[size_t(address)]);
  }
  void write(int address, uint8_t value) {
    const uint8_t old = cells_[size_t(address)];
    uint8_t v = bridge(value);
    for (const auto& t : faults_.transitions)
      if (t.address == address && (old & bit(t.bit)) != (v & bit(t.bit)) && bool(v & bit(t.bit)) == t.rising)
        v = uint8_t(v ^ bit(t.bit));
    cells_[size_t(address)] = v;
    for (const auto& c : faults_.couplings)
      if (c.aggressor == address && ((old ^ v) & bit(c.bit)))
        cells_[size_t(c.victim)] = uint8_t(cells_[size_t(c.victim)] ^ bit(c.bit));
  }
  void fill(uint8_t v) { cells_.fill(v); }
  std::array<uint8_t, kMemoryWords>& cells() { return cells_; }

 private:
  MemoryFaults faults_;
  std::array<uint8_t, kMemoryWords> cells_{};
};

class Eprom2716 : public Chip {
 public:
  Eprom2716(const std::vector<uint8_t>& rom, const MemoryFaults& faults) : core_(faults) {
    core_.fill(0xFF);
    std::copy_n(rom.begin(), std::min<size_t>(rom.size(), kMemoryWords), core_.cells().begin());
    for (const auto& [a, v] : faults.romBytes)
      if (a >= 0 && a < kMemoryWords) core_.cells()[size_t(a)] = v;
  }
  std::string_view part() const override { return "2716"; }
  int pinCount() const override { return 24; }
  PinRole role(int pin) const override { return memoryRole(pin, false); }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const bool enabled = !in[kChipSelectPin] && !in[kOutputEnablePin];
    if (enabled)
      driveData(out, core_.read(core_.decode(in)));
    else
      for (size_t p : kDataPins) out[p] = Drive::None;
  }

 private:
  MemoryCore core_;
};

class Ram6116 : public Chip {
 public:
  explicit Ram6116(const MemoryFaults& faults) : core_(faults) {}
  std::string_view part() const override { return "6116"; }
  int pinCount() const override { return 24; }
  PinRole role(int pin) const override { return memoryRole(pin, true); }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const bool reading = !in[kChipSelectPin] && !in[kOutputEnablePin] && in[kWriteEnablePin];
    if (reading)
      driveData(out, core_.read(core_.decode(in)));
    else
      for (size_t p : kDataPins) out[p] = Drive::None;
  }
  void commit(const PinBits& in) override {
    if (!in[kChipSelectPin] && !in[kWriteEnablePin]) core_.write(core_.decode(in), dataOf(in));
  }
  void powerDown() override { core_.fill(0); }

 private:
  MemoryCore core_;
};

}  // namespace

std::unique_ptr<Chip> makeEprom2716(std::vector<uint8_t> rom, const MemoryFaults& faults) {
  return std::make_unique<Eprom2716>(rom, faults);
}

std::unique_ptr<Chip> makeRam6116(const MemoryFaults& faults) {
  return std::make_unique<Ram6116>(faults);
}

}  // namespace qel::virt
