#include "virtual/board.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qel::virt {

namespace {
constexpr int kSettlePasses = 6;
}

std::unique_ptr<Board> Board::create(const BoardConfig& config, std::string& error) {
  std::vector<uint8_t> rom;
  std::string reason;
  if (!readRomFile(config, rom, reason)) {
    error = "ROM data file '" + config.romFile + "' cannot be read: " + reason;
    return nullptr;
  }
  std::unique_ptr<Chip> chip;
  auto model = config.model;
  if (!model && !config.modelFile.empty() && !(model = loadChipModel(config.modelFile, error)))
    return nullptr;
  if (model) {
    chip = makeModelChip(std::move(model));
  } else if (!(chip = makeChip(config.chip, rom, config.memory))) {
    error = "unknown chip '" + config.chip + "'; known:";
    for (const auto& part : knownParts()) error += " " + part;
    return nullptr;
  }
  const std::string part(chip->part());
  if (!config.memory.empty() && part != "2716" && part != "6116") {
    error = "memory faults need a memory part (2716, 6116), not the " + part;
    return nullptr;
  }
  if (error = checkChipFaults(*chip, config.inside); !error.empty()) return nullptr;
  chip = withChipFaults(std::move(chip), config.inside);
  const int n = chip->pinCount();
  auto check = [&](int pin) {
    if (pin > n)
      error =
          "pin " + std::to_string(pin) + " is not a pin of the " + part + " (" + std::to_string(n) + " pins)";
  };
  for (const auto* set : {&config.open, &config.stuck0, &config.stuck1, &config.held0, &config.held1})
    for (int p : *set) check(p);
  for (const auto& [a, b] : config.shorts) check(std::max(a, b));
  if (!error.empty()) return nullptr;
  return std::unique_ptr<Board>(new Board(config, std::move(chip)));
}

Board::Board(const BoardConfig& config, std::unique_ptr<Chip> chip)
    : config_(config), chip_(std::move(chip)) {
  pins_ = chip_->pinCount();
  std::iota(node_.begin(), node_.end(), 0);
  auto root = [&](int p) {
    while (node_[size_t(p)] != p) p = node_[size_t(p)];
    return p;
  };
  for (const auto& [a, b] : config_.shorts) node_[size_t(root(a))] = root(b);
  for (int p = 1; p <= pins_; ++p) node_[size_t(p)] = root(p);
  for (int p = 1; p <= pins_; ++p) {
    members_[size_t(node_[size_t(p)])].push_back(p);
    if (node_[size_t(p)] == p) nodes_.push_back(p);
  }
  const int row = tester::packageIndexOf(pins_);
  for (int k = 0; k < pins_; ++k) {
    const int ch = tester::channelOf(row, k);
    pinChannel_[size_t(k + 1)] = ch;
    if (channelPin_[size_t(ch)] == 0) channelPin_[size_t(ch)] = k + 1;
  }
  for (int p = 1; p <= pins_; ++p) {
    uint16_t f = 0;
    if (!config_.clipFree && !config_.open.count(p)) f |= kContact;
    if (config_.stuck0.count(p)) f |= kStuck0;
    if (config_.stuck1.count(p)) f |= kStuck1;
    if (config_.held0.count(p)) f |= kHeld0;
    if (config_.held1.count(p)) f |= kHeld1;
    if (chip_->role(p) == PinRole::Ground) f |= kGround, groundPin_ = p;
    if (chip_->role(p) == PinRole::Supply) f |= kSupply, supplyPin_ = p;
    if (config_.stuckChannels.count(pinChannel_[size_t(p)])) f |= kChannelStuck;
    flags_[size_t(p)] = f;
  }
  for (int ch : config_.stuckChannels) channelStuck_[size_t(ch)] = true;
  chipOut_.fill(Drive::None);
  lastDrive_.fill(Drive::None);
}

bool Board::chipPowered() const {
  return power_ && !config_.noSupply && contact(supplyPin_) && contact(groundPin_);
}

void Board::setPower(bool on) {
  power_ = on;
  settle(lastDrive_);
}

Board::Resolved Board::resolveNode(int node, const ChannelDrives& drive) const {
  // Strongest sources win; two of the same strength that disagree are a contention.
  std::array<std::array<bool, 2>, 4> seen{};
  auto add = [&](int strength, bool high) { seen[size_t(strength)][high ? 1 : 0] = true; };
  const bool supplied = power_ && !config_.noSupply;
  for (int p : members_[size_t(node)]) {
    const uint16_t f = flags_[size_t(p)];
    if (f & kGround) add(3, false);
    if ((f & kSupply) && supplied && (f & kContact)) add(3, true);
    if (f & kStuck0) add(3, false);
    if (f & kStuck1) add(3, true);
    const Drive d = drive[size_t(pinChannel_[size_t(p)])];
    if ((f & kContact) && !(f & kChannelStuck) && d != Drive::None) add(2, d == Drive::High);
    if (f & kHeld0) add(1, false);
    if (f & kHeld1) add(1, true);
    if (chipOut_[size_t(p)] != Drive::None) add(1, chipOut_[size_t(p)] == Drive::High);
  }
  for (int s = 3; s >= 1; --s) {
    const auto& v = seen[size_t(s)];
    if (v[0] && v[1]) return {Net::Conflict, s};
    if (v[0]) return {Net::Low, s};
    if (v[1]) return {Net::High, s};
  }
  return {Net::Float, 0};
}

void Board::settle(const ChannelDrives& drive) {
  lastDrive_ = drive;
  const bool powered = chipPowered();
  if (wasPowered_ && !powered) chip_->powerDown();
  wasPowered_ = powered;

  PinBits in{};
  auto pass = [&] {
    for (int node : nodes_) nodeState_[size_t(node)] = resolveNode(node, drive);
    // Unconnected TTL and NMOS inputs sit high; a contention reads as low.
    for (int p = 1; p <= pins_; ++p) {
      const Net n = nodeState_[size_t(node_[size_t(p)])].net;
      in[size_t(p)] = n == Net::High || n == Net::Float ? 1 : 0;
    }
    PinDrives out{};
    out.fill(Drive::None);
    if (powered) chip_->evaluate(in, out);
    const bool changed = out != chipOut_;
    chipOut_ = out;
    return changed;
  };
  for (int i = 0; i < kSettlePasses && pass(); ++i) {
  }
  if (powered) {
    chip_->commit(in);
    for (int i = 0; i < kSettlePasses && pass(); ++i) {
    }
  }
  // The node states must describe the final outputs.
  for (int node : nodes_) nodeState_[size_t(node)] = resolveNode(node, drive);
}

ChannelNets Board::readChannels(const ChannelDrives& drive) const {
  ChannelNets nets{};
  for (int ch = 0; ch < tester::kChannels; ++ch) {
    const int pin = channelPin_[size_t(ch)];
    if (channelStuck_[size_t(ch)])
      nets[size_t(ch)] = Net::Low;
    else if (pin != 0 && contact(pin))
      nets[size_t(ch)] = nodeState_[size_t(node_[size_t(pin)])].net;
    else if (drive[size_t(ch)] != Drive::None)
      nets[size_t(ch)] = drive[size_t(ch)] == Drive::High ? Net::High : Net::Low;
    else
      nets[size_t(ch)] = Net::Low;  // a channel touching nothing is pulled low
  }
  return nets;
}

ChannelNets Board::apply(const ChannelDrives& drive) {
  settle(drive);
  return readChannels(drive);
}

double Board::voltageOf(int pin) const {
  const Resolved& r = nodeState_[size_t(node_[size_t(pin)])];
  const bool powered = chipPowered();
  switch (r.net) {
    case Net::Low:
      return r.strength == 3 ? 0.0 : 0.2;
    case Net::High:
      return r.strength == 3 ? 5.0 : 3.4;
    case Net::Conflict:
      return 1.8;
    case Net::Float:
      return powered ? 1.4 : 0.0;
  }
  return 0.0;
}

std::array<uint8_t, tester::kChannels> Board::levels() {
  ChannelDrives none{};
  none.fill(Drive::None);
  settle(none);
  std::array<uint8_t, tester::kChannels> codes{};
  const double u0 = config_.u0;
  for (int ch = 0; ch < tester::kChannels; ++ch) {
    const int pin = channelPin_[size_t(ch)];
    if (pin == 0 || !contact(pin)) continue;  // nothing touched: 0
    const double v = channelStuck_[size_t(ch)] ? 0.0 : voltageOf(pin);
    const double code = std::floor((v + u0) * 256.0 / (u0 + 5.0));
    codes[size_t(ch)] = uint8_t(std::clamp(code, 0.0, 255.0));
  }
  return codes;
}

std::array<uint8_t, tester::kChannels> Board::logicCodes() {
  ChannelDrives none{};
  none.fill(Drive::None);
  settle(none);
  std::array<uint8_t, tester::kChannels> codes{};
  for (int ch = 0; ch < tester::kChannels; ++ch) {
    const int pin = channelPin_[size_t(ch)];
    Net n = Net::Float;
    if (channelStuck_[size_t(ch)])
      n = Net::Low;
    else if (pin != 0 && contact(pin))
      n = nodeState_[size_t(node_[size_t(pin)])].net;
    codes[size_t(ch)] = n == Net::Low ? 1 : n == Net::High ? 2 : n == Net::Conflict ? 3 : 4;
  }
  return codes;
}

}  // namespace qel::virt
