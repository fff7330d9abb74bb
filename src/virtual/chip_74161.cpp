#include "virtual/chip.h"

namespace qel::virt {

namespace {

// Synchronous 4-bit binary counter: asynchronous clear, synchronous load, count when ENP and ENT.
class Counter74161 : public Chip {
 public:
  std::string_view part() const override { return "74161"; }
  int pinCount() const override { return 16; }
  PinRole role(int pin) const override {
    switch (pin) {
      case 8:
        return PinRole::Ground;
      case 16:
        return PinRole::Supply;
      case 11:
      case 12:
      case 13:
      case 14:
      case 15:
        return PinRole::Output;
      default:
        return PinRole::Input;
    }
  }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    const int q = in[kClear] ? count_ : 0;
    for (size_t bit = 0; bit < 4; ++bit) out[kOutputs[bit]] = driveOf((q >> bit) & 1);
    out[kCarry] = driveOf(in[kEnableT] && q == 15);
  }
  void commit(const PinBits& in) override {
    const bool clk = in[kClock] != 0;
    if (!in[kClear]) {
      count_ = 0;
    } else if (clk && !lastClock_) {
      if (!in[kLoad]) {
        count_ = 0;
        for (size_t bit = 0; bit < 4; ++bit) count_ |= in[kInputs[bit]] << bit;
      } else if (in[kEnableP] && in[kEnableT]) {
        count_ = (count_ + 1) & 15;
      }
    }
    lastClock_ = clk;
  }
  void powerDown() override {
    count_ = 0;
    lastClock_ = true;
  }

 private:
  static constexpr size_t kClear = 1, kClock = 2, kEnableP = 7, kLoad = 9, kEnableT = 10, kCarry = 15;
  static constexpr size_t kInputs[4] = {3, 4, 5, 6};       // A..D
  static constexpr size_t kOutputs[4] = {14, 13, 12, 11};  // QA..QD
  int count_ = 0;
  // An unconnected TTL clock input sits high, so the first low-to-high change is the first edge.
  bool lastClock_ = true;
};

}  // namespace

std::unique_ptr<Chip> makeCounter74161() {
  return std::make_unique<Counter74161>();
}

}  // namespace qel::virt
