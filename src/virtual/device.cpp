#include "virtual/device.h"

#include <algorithm>
#include <cstring>

namespace qel::virt {

using namespace qel::tester;

VirtualTester::VirtualTester(Board& board, int strayBytes, bool ramFault)
    : board_(board), strayBytes_(strayBytes), ramFault_(ramFault) {}

void VirtualTester::receive(const uint8_t* data, size_t n) {
  size_t i = 0;
  while (i < n) {
    if (expect_ == Expect::Code) {
      command(data[i++]);
      continue;
    }
    const size_t want =
        (expect_ == Expect::Parameters ? kParameterFrameSize - 1 : kImageSize) - collected_.size();
    const size_t take = std::min(want, n - i);
    collected_.insert(collected_.end(), data + i, data + i + take);
    i += take;
    if (take < want) break;
    if (expect_ == Expect::Parameters) {
      parameters_.levels = uint16_t(collected_[0] << 8 | collected_[1]);
      parameters_.cycleTime = collected_[2];
      parameters_.cycleCount = uint16_t(collected_[3] << 8 | collected_[4]);
      parameters_.tail = uint16_t(collected_[5] << 8 | collected_[6]);
      expect_ = Expect::Code;
      ack(true);
    } else {
      expect_ = Expect::Code;
      runBlock();
    }
    collected_.clear();
  }
}

size_t VirtualTester::take(uint8_t* buffer, size_t n) {
  const size_t k = std::min(n, pending());
  std::memcpy(buffer, out_.data() + outStart_, k);
  outStart_ += k;
  if (outStart_ == out_.size()) {
    out_.clear();
    outStart_ = 0;
  }
  return k;
}

void VirtualTester::clearOutput() {
  out_.clear();
  outStart_ = 0;
}

void VirtualTester::ack(bool done) {
  for (int i = 0; i < strayBytes_; ++i) emit(7);
  emit(done ? kAckDone : kAckFailed);
}

void VirtualTester::emitPair(uint16_t first, uint16_t second) {
  emit(uint8_t(first >> 8));
  emit(uint8_t(first));
  emit(uint8_t(second >> 8));
  emit(uint8_t(second));
}

void VirtualTester::command(uint8_t code) {
  commands_.push_back(code);
  switch (code) {
    case kResetTester:
      parameters_ = {};
      ack(true);
      break;
    case kTestTesterRam:
    case kVerifyTesterRam:
      ack(!ramFault_);
      break;
    case kSetTestParameters:
      expect_ = Expect::Parameters;
      break;
    case kPowerOn:
    case kPowerOff:
      board_.setPower(code == kPowerOn);
      ack(true);
      break;
    case kReadLevels: {
      ack(true);
      for (uint8_t b : board_.levels()) emit(b);
      break;
    }
    case kReadLogic: {
      ack(true);
      for (uint8_t b : board_.logicCodes()) emit(b);
      break;
    }
    case kScanJumpers:
      ack(true);
      scanJumpers();
      break;
    case kRunImage:
      expect_ = Expect::Image;
      break;
    case kParkTester: {
      ChannelDrives none{};
      none.fill(Drive::None);
      board_.apply(none);
      break;
    }
    default:
      break;  // not a command: the tester ignores it
  }
}

// Two samples per reading: a node that is floating or fought over reads differently in each.
void VirtualTester::samplePair(const ChannelNets& nets, int bank, uint16_t& first, uint16_t& second) const {
  first = second = 0;
  for (int c = 0; c < kBankChannels; ++c) {
    const Samples s = samplesOf(nets[size_t(bank * kBankChannels + c)]);
    if (s.first) first |= uint16_t(1u << c);
    if (s.second) second |= uint16_t(1u << c);
  }
}

void VirtualTester::scanJumpers() {
  for (int bank = 0; bank < kBanks; ++bank)
    for (int r = 0; r < kJumperReadings; ++r) {
      ChannelDrives drive{};
      drive.fill(Drive::None);
      if (r > 0) drive[size_t((r - 1) / 2)] = r % 2 == 1 ? Drive::High : Drive::Low;
      uint16_t first = 0, second = 0;
      samplePair(board_.apply(drive), bank, first, second);
      emitPair(first, second);
    }
}

void VirtualTester::runBlock() {
  const int cycles = blockCycles();
  std::vector<std::array<uint16_t, 4>> answers(static_cast<size_t>(cycles));
  for (int i = 0; i < cycles; ++i) {
    ChannelDrives drive{};
    for (int bank = 0; bank < kBanks; ++bank) {
      const uint8_t* e = collected_.data() + (size_t(bank) * kMaxBlockCycles + size_t(i)) * 4;
      const auto stimulus = uint16_t(e[0] << 8 | e[1]);
      const auto undriven = uint16_t(e[2] << 8 | e[3]);
      for (int c = 0; c < kBankChannels; ++c) {
        const auto bit = uint16_t(1u << c);
        drive[size_t(bank * kBankChannels + c)] = (undriven & bit) ? Drive::None : driveOf(stimulus & bit);
      }
    }
    const ChannelNets nets = board_.apply(drive);
    samplePair(nets, 0, answers[size_t(i)][0], answers[size_t(i)][1]);
    samplePair(nets, 1, answers[size_t(i)][2], answers[size_t(i)][3]);
  }
  ack(true);
  out_.reserve(out_.size() + size_t(cycles) * 8);
  for (int bank = 0; bank < kBanks; ++bank)
    for (const auto& a : answers) emitPair(a[size_t(bank * 2)], a[size_t(bank * 2 + 1)]);
}

}  // namespace qel::virt
