#include <vector>

#include "virtual/chip_model_program.h"

namespace qel::virt {

namespace {

class ModelChip : public Chip {
 public:
  explicit ModelChip(std::shared_ptr<const ChipModel> model)
      : model_(std::move(model)), state_(size_t(model_->flipFlops)), lastClock_(size_t(model_->flipFlops)) {
    powerDown();
  }
  std::string_view part() const override { return model_->part; }
  int pinCount() const override { return model_->pins; }
  PinRole role(int pin) const override {
    return pin >= 1 && pin <= model_->pins ? model_->roles[size_t(pin)] : PinRole::NotConnected;
  }

  void evaluate(const PinBits& in, PinDrives& out) const override {
    SignalValues v;
    settle(in, v);
    for (const ModelNode& n : model_->nodes)
      if (n.pin != 0)
        out[size_t(n.pin)] = n.enable.empty() || run(n.enable, v) ? driveOf(v[n.signal]) : Drive::None;
  }

  void commit(const PinBits& in) override {
    SignalValues v;
    settle(in, v);
    // Every flip-flop takes its next state from the same sample.
    std::vector<uint8_t> next(state_);
    for (const ModelNode& n : model_->nodes) {
      if (!n.flipFlop) continue;
      const auto i = size_t(n.state);
      const uint8_t clock = run(n.clock, v);
      const bool edge = n.rising ? clock && !lastClock_[i] : !clock && lastClock_[i];
      if (!n.set.empty() && run(n.set, v))
        next[i] = 1;
      else if (!n.clear.empty() && run(n.clear, v))
        next[i] = 0;
      else if (edge)
        next[i] = run(n.d, v);
      lastClock_[i] = clock;
    }
    state_ = std::move(next);
  }

  void powerDown() override {
    std::fill(state_.begin(), state_.end(), uint8_t(0));
    // An unconnected TTL clock input sits high, so the first low-to-high change is the first edge.
    std::fill(lastClock_.begin(), lastClock_.end(), uint8_t(1));
  }

 private:
  void settle(const PinBits& in, SignalValues& v) const {
    for (size_t p = 0; p < in.size(); ++p) v[p] = in[p];
    for (const ModelNode& n : model_->nodes) {
      if (!n.flipFlop)
        v[n.signal] = run(n.value, v);
      else if (!n.set.empty() && run(n.set, v))
        v[n.signal] = 1;
      else if (!n.clear.empty() && run(n.clear, v))
        v[n.signal] = 0;
      else
        v[n.signal] = state_[size_t(n.state)];
    }
  }

  std::shared_ptr<const ChipModel> model_;
  std::vector<uint8_t> state_;
  std::vector<uint8_t> lastClock_;
};

}  // namespace

std::unique_ptr<Chip> makeModelChip(std::shared_ptr<const ChipModel> model) {
  return std::make_unique<ModelChip>(std::move(model));
}

}  // namespace qel::virt
