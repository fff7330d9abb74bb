#include <array>

#include "virtual/chip.h"

namespace qel::virt {

namespace {

// Dual D flip-flop with preset and clear (both active low), rising-edge clocked.
class FlipFlop7474 : public Chip {
 public:
  std::string_view part() const override { return "7474"; }
  int pinCount() const override { return 14; }
  PinRole role(int pin) const override {
    switch (pin) {
      case 7:
        return PinRole::Ground;
      case 14:
        return PinRole::Supply;
      case 5:
      case 6:
      case 8:
      case 9:
        return PinRole::Output;
      default:
        return PinRole::Input;
    }
  }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    for (size_t f = 0; f < 2; ++f) {
      const Pins& p = kPins[f];
      const bool pre = in[p.pre], clr = in[p.clr];
      bool q = state_[f], qn = !state_[f];
      if (!pre && !clr)
        q = qn = true;
      else if (!pre)
        q = true, qn = false;
      else if (!clr)
        q = false, qn = true;
      out[p.q] = driveOf(q);
      out[p.qn] = driveOf(qn);
    }
  }
  void commit(const PinBits& in) override {
    for (size_t f = 0; f < 2; ++f) {
      const Pins& p = kPins[f];
      const bool clk = in[p.clk];
      if (!in[p.pre])
        state_[f] = true;
      else if (!in[p.clr])
        state_[f] = false;
      else if (clk && !lastClock_[f])
        state_[f] = in[p.d] != 0;
      lastClock_[f] = clk;
    }
  }
  void powerDown() override {
    state_ = {false, false};
    lastClock_ = {true, true};
  }

 private:
  struct Pins {
    size_t clr, d, clk, pre, q, qn;
  };
  static constexpr std::array<Pins, 2> kPins = {Pins{1, 2, 3, 4, 5, 6}, Pins{13, 12, 11, 10, 9, 8}};
  std::array<bool, 2> state_{};
  // An unconnected TTL clock input sits high, so the first low-to-high change is the first edge.
  std::array<bool, 2> lastClock_{true, true};
};

}  // namespace

std::unique_ptr<Chip> makeFlipFlop7474() {
  return std::make_unique<FlipFlop7474>();
}

}  // namespace qel::virt
