#include "virtual/chip.h"

namespace qel::virt {

namespace {

// Octal bus transceiver: with /OE low, DIR high passes A to B and DIR low passes B to A.
class Transceiver74245 : public Chip {
 public:
  std::string_view part() const override { return "74245"; }
  int pinCount() const override { return 20; }
  PinRole role(int pin) const override {
    if (pin == 10) return PinRole::Ground;
    if (pin == 20) return PinRole::Supply;
    if (pin == kDirection || pin == kOutputEnable) return PinRole::Input;
    return PinRole::InOut;
  }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const bool enabled = !in[kOutputEnable];
    const bool aToB = in[kDirection] != 0;
    for (size_t i = 0; i < 8; ++i) {
      const size_t a = 2 + i, b = 18 - i;  // A1..A8 on 2..9, B1..B8 on 18..11
      out[a] = enabled && !aToB ? driveOf(in[b]) : Drive::None;
      out[b] = enabled && aToB ? driveOf(in[a]) : Drive::None;
    }
  }

 private:
  static constexpr size_t kDirection = 1, kOutputEnable = 19;
};

}  // namespace

std::unique_ptr<Chip> makeTransceiver74245() {
  return std::make_unique<Transceiver74245>();
}

}  // namespace qel::virt
