#pragma once
// The TesterLink: framing, acknowledgement and answer waits, the channel bookkeeping of the
// current test, and the tester's command set.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "model/level_thresholds.h"
#include "tester/channel_map.h"
#include "tester/clock.h"
#include "tester/port.h"
#include "tester/protocol.h"

namespace qel::tester {

struct TestParameters {
  int32_t levels = kDefaultInputLevels;
  int32_t cycleTime = kDefaultCycleTime;
  int32_t pinCount = 0;
  std::span<const int32_t> pinTypeCodes;  // entry k = pin k+1
  int32_t cycleCount = 0;                 // the whole test; the frame carries its low 16 bits
  int32_t minGround = LevelThresholds::kDefaultMinGround;
  int32_t maxGround = LevelThresholds::kDefaultMaxGround;
  int32_t minSupply = LevelThresholds::kDefaultMinSupply;
};

// Level classes of readLevels; codes apart from any level, so that they are never taken for one.
enum PowerClass : int32_t { kClassNone = 0, kClassGround = 15, kClassSupply = 95, kClassNoContact = 175 };
// Jumper outcomes beside the group numbers, above any group a scan of 32 channels can form.
inline constexpr int32_t kJumperStuckLow = 240;   // does not go low ("!L")
inline constexpr int32_t kJumperStuckHigh = 241;  // does not go high ("!H")

struct LinkState {
  int32_t noContactLevel = 2;  // below it the clip does not touch the pin
  // Until the first parameter frame brings the settings: a window around a ground pin's 55, and
  // what a supply pin reads.
  int32_t groundLow = 48, groundHigh = 65;
  int32_t supplyLow = 240;
  int32_t bankCount = kBanks;
  int32_t tailWord = kTailWord;
  int32_t levelsParam = 0, cycleTimeParam = 0;
  int32_t packageIndex = 0;
  int32_t pinCount = 0;
  int32_t blockCycles = 0;
  std::array<int32_t, kMapPins> pinTypes{};
  int32_t groundPinIndex = 0, supplyPinIndex = 0;
  std::array<int32_t, kChannels> channelPin{};
  std::array<int32_t, kChannels> channelLevel{};
  std::array<int32_t, kMapPins> pinPowerClass{};
  std::array<int32_t, kChannels> channelLogic{};
  std::array<int32_t, kChannels> channelJumper{};
};

// One block as the tester receives it: stimulus and drive mask words per bank and cycle, and the
// 65,528 bytes that carry them.
struct BlockImage {
  std::array<std::array<uint16_t, kMaxBlockCycles>, kBanks> stimulus{};
  std::array<std::array<uint16_t, kMaxBlockCycles>, kBanks> driveMask{};
  std::vector<uint8_t> bytes;
};

// Composes a block for the channel bookkeeping in state; returns the cycles composed. Touches
// nothing but image, so the next block can be composed while the link carries this one.
// blockData: row per cycle of the block, state.pinCount bytes each (0 low, 1 high, 2 not driven).
int composeBlockImage(const LinkState& state, std::span<const uint8_t> blockData, BlockImage& image);

// The chip supply as the tester confirmed it. A power command that went out without its
// acknowledgement leaves it Unknown: the tester may have acted on it, so the supply may be on.
enum class SupplyState : int { Off, On, Unknown };
const char* supplyStateName(SupplyState state);  // "off", "on", "unknown"

// The raw readout grid: 33 rows by 8200 columns of '1', '0' or nothing (0).
struct RawGrid {
  static constexpr int kRowCount = 33, kColumnCount = 8200;
  std::vector<char> cells = std::vector<char>(size_t(kRowCount) * kColumnCount, 0);
  char& at(int row, int column) { return cells[size_t(row) * kColumnCount + size_t(column)]; }
  char at(int row, int column) const { return cells[size_t(row) * kColumnCount + size_t(column)]; }
};

class TesterLink {
 public:
  TesterLink(Port& port, Clock& clock);

  // The stop request of the run in progress; polled inside every wait. Null: never stopped.
  void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

  // Frames.
  static void appendByte(std::vector<uint8_t>& frame, uint8_t value) { frame.push_back(value); }
  static void appendWord(std::vector<uint8_t>& frame, uint16_t value) {
    frame.push_back(uint8_t(value >> 8));
    frame.push_back(uint8_t(value & 0xFF));
  }

  // Primitives; each returns true when it failed.
  bool sendCode(uint8_t code);
  bool waitAck();
  // midStream: more of a long answer follows these bytes.
  bool readExact(uint8_t* buffer, int n, bool midStream = false);
  bool readWordPair(uint16_t& first, uint16_t& second, bool midStream = false);
  bool writeWordPair(uint16_t first, uint16_t second);
  void drainInput();
  bool checkPresence();
  void closeConnection() { port_.closePort(); }

  // The command set.
  bool resetTester() { return codeAndAck(kResetTester); }
  bool testTesterRam() { return codeAndAck(kTestTesterRam); }
  bool verifyTesterRam() { return codeAndAck(kVerifyTesterRam); }
  bool powerOn();
  bool powerOff();
  // Refuses, without sending anything, a pin count that has no row in the channel map.
  bool setTestParameters(const TestParameters& p);
  bool readLevels(std::span<int32_t> pinLevels);
  // Callers go on with the codes they get; on failure they are 0.
  bool readLogic(std::span<int32_t> pinCodes);
  bool supplyOk() const;
  bool contactOk() const;
  bool scanJumpers(std::span<int32_t> pinOutcome);
  // Composes the image runImage sends next (see composeBlockImage).
  int composeImage(std::span<const uint8_t> blockData) {
    return composeBlockImage(state_, blockData, *image_);
  }
  // Makes image the one runImage sends next; image gets the one it replaces.
  void swapImage(std::unique_ptr<BlockImage>& image) { image_.swap(image); }
  // result: pinCount bytes per cycle of the block; receives the codes 1, 2, 4.
  bool runImage(std::span<uint8_t> result);
  bool runImageRaw(RawGrid& grid);
  void parkTester() { sendCode(kParkTester); }

  const LinkState& state() const { return state_; }
  LinkState& state() { return state_; }
  SupplyState supplyState() const { return supply_.load(); }
  // On, or possibly on: what the indicator shows and what "off" commands must still switch off.
  bool powerIsOn() const { return supplyState() != SupplyState::Off; }
  // Called after every power command, acknowledged or not, with powerIsOn().
  std::function<void(bool)> onPowerChanged;

  // The composed image words, per bank and cycle.
  uint16_t stimulus(int bank, int cycle) const { return image_->stimulus[size_t(bank)][size_t(cycle)]; }
  uint16_t driveMask(int bank, int cycle) const { return image_->driveMask[size_t(bank)][size_t(cycle)]; }
  // The 65,528 bytes that runImage writes.
  const std::vector<uint8_t>& imageBytes() const { return image_->bytes; }

  Port& port() { return port_; }

 private:
  bool stopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }
  bool codeAndAck(uint8_t code) { return sendCode(code) || waitAck(); }
  // Sleeps between the polls of a wait.
  void pause(int polls, int finePolls);
  // A power command: the state follows its acknowledgement, or becomes Unknown when the code went
  // out and no acknowledgement came.
  bool powerCommand(uint8_t code, SupplyState confirmed);

  Port& port_;
  Clock& clock_;
  const std::atomic<bool>* stop_ = nullptr;
  LinkState state_;
  std::atomic<SupplyState> supply_{SupplyState::Off};  // read by windows while a worker runs
  std::unique_ptr<BlockImage> image_ = std::make_unique<BlockImage>();
};

}  // namespace qel::tester
