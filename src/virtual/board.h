#pragma once
// The board in the clip: the chip, the nodes its pins sit on (shorts join them), the clip's
// contact, the supply, drivers elsewhere on the board and the faults. The tester drives and
// reads it channel by channel.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "tester/channel_map.h"
#include "virtual/board_config.h"
#include "virtual/chip.h"
#include "virtual/logic.h"

namespace qel::virt {

using ChannelDrives = std::array<Drive, tester::kChannels>;
using ChannelNets = std::array<Net, tester::kChannels>;

class Board {
 public:
  // Null with an error text when the configuration does not fit the chip.
  static std::unique_ptr<Board> create(const BoardConfig& config, std::string& error);

  int pinCount() const { return pins_; }
  const Chip& chip() const { return *chip_; }
  const BoardConfig& config() const { return config_; }

  // The tester's supply switch.
  void setPower(bool on);
  bool powerSwitch() const { return power_; }
  bool chipPowered() const;

  // Drives the channels, lets the board settle (clock edges and writes happen), and reads every
  // channel back.
  ChannelNets apply(const ChannelDrives& drive);
  // Level snapshot codes 0..255 with nothing driven, on the U0 scale.
  std::array<uint8_t, tester::kChannels> levels();
  // Logic snapshot codes: 1 low, 2 high, 3 contention, 4 high impedance.
  std::array<uint8_t, tester::kChannels> logicCodes();

 private:
  struct Resolved {
    Net net = Net::Float;
    int strength = 0;  // 3 supply rails and stuck faults, 2 tester, 1 chip outputs and board drivers
  };
  Board(const BoardConfig& config, std::unique_ptr<Chip> chip);
  void settle(const ChannelDrives& drive);
  Resolved resolveNode(int node, const ChannelDrives& drive) const;
  ChannelNets readChannels(const ChannelDrives& drive) const;
  double voltageOf(int pin) const;
  bool contact(int pin) const { return pin >= 1 && (flags_[size_t(pin)] & kContact); }

  enum Flag : uint16_t {
    kContact = 1,
    kStuck0 = 2,
    kStuck1 = 4,
    kHeld0 = 8,
    kHeld1 = 16,
    kGround = 32,
    kSupply = 64,
    kChannelStuck = 128
  };

  BoardConfig config_;
  std::unique_ptr<Chip> chip_;
  int pins_ = 0;
  bool power_ = false;
  bool wasPowered_ = false;
  std::array<int, kMaxChipPins + 1> node_{};  // node of each pin
  std::array<uint16_t, kMaxChipPins + 1> flags_{};
  std::array<std::vector<int>, kMaxChipPins + 1> members_;  // pins of each node
  std::vector<int> nodes_;
  std::array<bool, tester::kChannels> channelStuck_{};
  int supplyPin_ = 0, groundPin_ = 0;
  std::array<int, tester::kChannels> channelPin_{};  // pin on each channel, 0 none
  std::array<int, kMaxChipPins + 1> pinChannel_{};
  std::array<Resolved, kMaxChipPins + 1> nodeState_{};  // by node
  PinDrives chipOut_{};
  ChannelDrives lastDrive_{};
};

}  // namespace qel::virt
