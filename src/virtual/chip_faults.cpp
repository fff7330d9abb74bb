#include "virtual/chip_faults.h"

namespace qel::virt {

namespace {

bool drivable(PinRole r) {
  return r == PinRole::Input || r == PinRole::InOut;
}
bool driving(PinRole r) {
  return r == PinRole::Output || r == PinRole::InOut;
}

class FaultyChip : public Chip {
 public:
  FaultyChip(std::unique_ptr<Chip> inner, const ChipFaults& f) : inner_(std::move(inner)) {
    for (int p : f.in0) seen_.emplace_back(size_t(p), uint8_t(0));
    for (int p : f.in1) seen_.emplace_back(size_t(p), uint8_t(1));
    for (int p : f.out0) driven_.emplace_back(size_t(p), Drive::Low);
    for (int p : f.out1) driven_.emplace_back(size_t(p), Drive::High);
    for (const auto& [a, b] : f.bridges) bridges_.emplace_back(size_t(a), size_t(b));
  }
  std::string_view part() const override { return inner_->part(); }
  int pinCount() const override { return inner_->pinCount(); }
  PinRole role(int pin) const override { return inner_->role(pin); }

  void evaluate(const PinBits& in, PinDrives& out) const override {
    inner_->evaluate(inside(in), out);
    for (const auto& [p, d] : driven_)
      if (out[p] != Drive::None) out[p] = d;
    // A bridged output carries the lower of what it drives and what the other side holds; the
    // board's level of an output is last pass's drive, so its own new drive is taken instead.
    auto low = [&](size_t p) { return out[p] != Drive::None ? out[p] == Drive::Low : in[p] == 0; };
    for (const auto& [a, b] : bridges_) {
      if (!low(a) && !low(b)) continue;
      for (size_t p : {a, b})
        if (out[p] != Drive::None) out[p] = Drive::Low;
    }
  }
  void commit(const PinBits& in) override { inner_->commit(inside(in)); }
  void powerDown() override { inner_->powerDown(); }

 private:
  // What the logic sees: bridged pins at the lower of their levels, stuck inputs at their level.
  PinBits inside(const PinBits& in) const {
    PinBits v = in;
    for (const auto& [a, b] : bridges_) v[a] = v[b] = uint8_t(in[a] && in[b]);
    for (const auto& [p, level] : seen_) v[p] = level;
    return v;
  }

  std::unique_ptr<Chip> inner_;
  std::vector<std::pair<size_t, uint8_t>> seen_;
  std::vector<std::pair<size_t, Drive>> driven_;
  std::vector<std::pair<size_t, size_t>> bridges_;
};

}  // namespace

std::string checkChipFaults(const Chip& chip, const ChipFaults& f) {
  const int n = chip.pinCount();
  const std::string of = " of the " + std::string(chip.part());
  auto check = [&](int pin, bool fits, const char* kind, const char* wanted) -> std::string {
    if (pin < 1 || pin > n) return "pin " + std::to_string(pin) + " is not a pin" + of;
    if (!fits)
      return std::string(kind) + ":" + std::to_string(pin) + ": pin " + std::to_string(pin) + of +
             " is not " + wanted;
    return {};
  };
  for (const auto* set : {&f.in0, &f.in1})
    for (int p : *set)
      if (auto e = check(p, drivable(chip.role(p)), set == &f.in0 ? "in0" : "in1", "an input"); !e.empty())
        return e;
  for (const auto* set : {&f.out0, &f.out1})
    for (int p : *set)
      if (auto e = check(p, driving(chip.role(p)), set == &f.out0 ? "out0" : "out1", "an output"); !e.empty())
        return e;
  for (const auto& [a, b] : f.bridges)
    for (int p : {a, b})
      if (auto e = check(p, drivable(chip.role(p)) || driving(chip.role(p)), "bridge", "a signal pin");
          !e.empty())
        return e;
  return {};
}

std::unique_ptr<Chip> withChipFaults(std::unique_ptr<Chip> chip, const ChipFaults& faults) {
  if (faults.empty()) return chip;
  return std::make_unique<FaultyChip>(std::move(chip), faults);
}

}  // namespace qel::virt
