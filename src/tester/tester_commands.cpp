#include <algorithm>
#include <vector>

#include "model/pin_type.h"
#include "tester/jumper_scan.h"
#include "tester/tester_link.h"

namespace qel::tester {

const char* supplyStateName(SupplyState state) {
  switch (state) {
    case SupplyState::Off:
      return "off";
    case SupplyState::On:
      return "on";
    case SupplyState::Unknown:
      return "unknown";
  }
  return "unknown";
}

bool TesterLink::powerCommand(uint8_t code, SupplyState confirmed) {
  const bool sent = !sendCode(code);
  const bool failed = !sent || waitAck();
  const SupplyState before = supply_.load();
  if (!failed)
    supply_ = confirmed;
  else if (sent && before != confirmed)
    supply_ = SupplyState::Unknown;
  if (onPowerChanged) onPowerChanged(powerIsOn());
  return failed;
}

bool TesterLink::powerOn() {
  return powerCommand(kPowerOn, SupplyState::On);
}

bool TesterLink::powerOff() {
  return powerCommand(kPowerOff, SupplyState::Off);
}

bool TesterLink::setTestParameters(const TestParameters& p) {
  if (!hasChannelRow(p.pinCount)) return true;
  LinkState& s = state_;
  s.levelsParam = p.levels;
  s.cycleTimeParam = p.cycleTime;
  s.packageIndex = packageIndexOf(p.pinCount);
  s.pinCount = p.pinCount;
  s.blockCycles = std::clamp(p.cycleCount, 0, kMaxBlockCycles);
  s.groundLow = p.minGround;
  s.groundHigh = p.maxGround;
  s.supplyLow = p.minSupply;

  s.pinTypes.fill(0);
  s.groundPinIndex = s.supplyPinIndex = 0;
  for (int k = 0; k < p.pinCount && k < int(p.pinTypeCodes.size()); ++k) {
    s.pinTypes[size_t(k)] = p.pinTypeCodes[size_t(k)];
    if (s.pinTypes[size_t(k)] == kGround) s.groundPinIndex = k;
    if (s.pinTypes[size_t(k)] == kSupply) s.supplyPinIndex = k;
  }
  for (int j = 0; j < kChannels; ++j) {
    s.channelPin[size_t(j)] = 0;
    for (int k = 0; k < p.pinCount; ++k)
      if (channelOf(s.packageIndex, k) == j) {
        s.channelPin[size_t(j)] = k + 1;
        break;
      }
  }

  std::vector<uint8_t> frame;
  frame.reserve(kParameterFrameSize);
  appendByte(frame, kSetTestParameters);
  appendWord(frame, uint16_t(p.levels));
  appendByte(frame, uint8_t(p.cycleTime));
  appendWord(frame, uint16_t(uint32_t(p.cycleCount) & 0xFFFF));
  appendWord(frame, uint16_t(s.tailWord));
  return port_.writeBytes(frame.data(), frame.size()) || waitAck();
}

bool TesterLink::readLevels(std::span<int32_t> pinLevels) {
  LinkState& s = state_;
  s.channelLevel.fill(0);
  std::fill_n(s.pinPowerClass.begin(), kChannels, 0);
  uint8_t bytes[kSnapshotSize];
  if (codeAndAck(kReadLevels) || readExact(bytes, kSnapshotSize)) return true;
  for (int c = 0; c < kChannels; ++c) s.channelLevel[size_t(c)] = bytes[c];
  for (int k = 0; k < s.pinCount; ++k) {
    const int32_t level = s.channelLevel[size_t(channelOf(s.packageIndex, k))];
    if (size_t(k) < pinLevels.size()) pinLevels[size_t(k)] = level;
    int32_t cls = kClassNone;
    const auto u = uint32_t(level);
    if (u < uint32_t(s.noContactLevel)) cls = kClassNoContact;
    if (uint32_t(s.groundLow) <= u && u <= uint32_t(s.groundHigh)) cls = kClassGround;
    if (u >= uint32_t(s.supplyLow)) cls = kClassSupply;
    s.pinPowerClass[size_t(k)] = cls;
  }
  return false;
}

bool TesterLink::readLogic(std::span<int32_t> pinCodes) {
  LinkState& s = state_;
  s.channelLogic.fill(0);
  uint8_t bytes[kSnapshotSize];
  bool failed = codeAndAck(kReadLogic) || readExact(bytes, kSnapshotSize);
  if (!failed)
    for (int c = 0; c < kChannels; ++c) s.channelLogic[size_t(c)] = bytes[c];
  for (int k = 0; k < s.pinCount && size_t(k) < pinCodes.size(); ++k)
    pinCodes[size_t(k)] = s.channelLogic[size_t(channelOf(s.packageIndex, k))];
  return failed;
}

bool TesterLink::supplyOk() const {
  return state_.pinPowerClass[size_t(state_.groundPinIndex)] == kClassGround &&
         state_.pinPowerClass[size_t(state_.supplyPinIndex)] == kClassSupply;
}

bool TesterLink::contactOk() const {
  for (int k = 0; k < state_.pinCount; ++k)
    if (state_.pinPowerClass[size_t(k)] == kClassNoContact && state_.pinTypes[size_t(k)] != kNotConnected)
      return false;
  return true;
}

bool TesterLink::scanJumpers(std::span<int32_t> pinOutcome) {
  LinkState& s = state_;
  s.channelJumper.fill(0);
  if (codeAndAck(kScanJumpers)) return true;
  JumperReadings m{};
  for (int bank = 0; bank < kBanks; ++bank)
    for (int r = 0; r < kJumperReadings; ++r) {
      uint16_t first = 0, second = 0;
      if (readWordPair(first, second)) return true;
      for (int c = 0; c < kBankChannels; ++c)
        m[size_t(bank * kBankChannels + c)][size_t(r)] = sampleCode(first, second, c);
    }
  std::array<bool, kChannels> power{};
  for (int n = 0; n < kChannels; ++n) {
    const int pin = s.channelPin[size_t(n)];
    power[size_t(n)] = pin > 0 && s.pinTypes[size_t(pin - 1)] >= kGround;  // GND or VCC
  }
  s.channelJumper = analyseJumpers(m, power);
  for (int k = 0; k < s.pinCount && size_t(k) < pinOutcome.size(); ++k)
    pinOutcome[size_t(k)] = s.channelJumper[size_t(channelOf(s.packageIndex, k))];
  return false;
}

}  // namespace qel::tester
