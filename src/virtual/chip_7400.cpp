#include "virtual/chip.h"

namespace qel::virt {

namespace {

// Quad 2-input NAND: gates (A, B, Y) on pins (1,2,3) (4,5,6) (9,10,8) (12,13,11).
class Nand7400 : public Chip {
 public:
  std::string_view part() const override { return "7400"; }
  int pinCount() const override { return 14; }
  PinRole role(int pin) const override {
    switch (pin) {
      case 7:
        return PinRole::Ground;
      case 14:
        return PinRole::Supply;
      case 3:
      case 6:
      case 8:
      case 11:
        return PinRole::Output;
      default:
        return PinRole::Input;
    }
  }
  void evaluate(const PinBits& in, PinDrives& out) const override {
    static constexpr int kGates[4][3] = {{1, 2, 3}, {4, 5, 6}, {9, 10, 8}, {12, 13, 11}};
    for (const auto& g : kGates) out[size_t(g[2])] = driveOf(!(in[size_t(g[0])] && in[size_t(g[1])]));
  }
};

}  // namespace

std::unique_ptr<Chip> makeNand7400() {
  return std::make_unique<Nand7400>();
}

}  // namespace qel::virt
