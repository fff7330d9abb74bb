#pragma once
// The in-memory test of one chip type: package, pins, signals over cycles, data words,
// algorithm parameters, and the reference and result diagrams.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/algorithm_settings.h"
#include "model/diagram_allocator.h"
#include "model/level_thresholds.h"
#include "model/pin_type.h"

namespace qel {

inline constexpr int kPinRecords = 101;    // pin records 0..100, record 0 carries no pin
inline constexpr int kMaxSignal = 100;     // signal numbers 1..100
inline constexpr int kMaxDirectPin = 50;   // direction and formula storage: pins 1..50
inline constexpr int kReferenceRow = 101;  // bytes per cycle of the reference diagram
inline constexpr int kDirectionRow = 51;   // bits per cycle of the direction diagram
inline constexpr int kBackupRow = 100;     // bytes per cycle of the reference backup
inline constexpr int kMaxDataWords = 10;
inline constexpr int kWordSlots = 99;  // pin slots 1..99 of a data word
inline constexpr int kRows = 100;      // display rows 1..100
// Beyond this the diagram storage is refused ("Error DiagrSize"): about 1.7 GB of reference.
inline constexpr int64_t kMaxCycles = 16'000'000;

enum Level : uint8_t { kLow = 0, kHigh = 1, kDontCare = 2 };
enum ResultCode : uint8_t { kReadLow = 1, kReadHigh = 2, kReadOther3 = 3, kReadOther4 = 4, kNotMeasured = 5 };

struct PinRecord {
  std::string typeText = "I";
  std::string name;  // UTF-8; views show its first 8 characters
};

struct DataWord {
  std::string name;
  std::array<int32_t, kWordSlots + 1> pins{};  // slots 1..99, least significant bit first
  int32_t busCode = 0;
  int32_t radix = 10;
  int32_t linked = 0;
  int32_t ioKind = 1;

  // Number of slots 1..99 holding a positive pin number.
  int width() const;
  // Number of slots filled from slot 1 up to the first empty one.
  int filledSlots() const;
};

struct RowEntry {
  int32_t pin = 0;
  int32_t half = 0;  // 0 unassigned, 1 assigned
  bool operator==(const RowEntry&) const = default;
};

using DiagramBuffer = std::vector<uint8_t, DiagramAllocator<uint8_t>>;

class TestDescription {
 public:
  TestDescription();

  // Identity and documents.
  std::string fileName;
  std::string chipName;
  std::string descriptionFile;
  std::array<std::string, 10> testNames;

  // Package.
  bool isSoic = false;
  int32_t pinCount = 8;

  std::array<PinRecord, kPinRecords> pins;
  std::array<std::string, kPinRecords> formula;  // per signal number
  std::array<int32_t, 100> typeCode{};           // entry k belongs to pin k+1
  int32_t passivePinCount = 0;
  int32_t ioPinCount = 0;

  std::array<RowEntry, kRows + 1> rows;

  int32_t cycleCount = 0;
  int32_t templateCycles = 0;

  std::array<DataWord, kMaxDataWords> words;
  int32_t dataWordCount = 0;

  int32_t algorithmNumber = 0;
  AlgorithmSettings algorithms;

  int32_t levels = kDefaultInputLevels;
  int32_t cycleTime = kDefaultCycleTime;

  bool loaded = false;

  // Empty state before a load.
  void reset();
  // Empty 32-pin state of start-up.
  void resetForStartup();

  // Reference diagram. Reads past the buffer give don't care; writes past it grow the test.
  uint8_t level(int slot, int cycle) const {
    const int64_t i = int64_t(slot) + int64_t(cycle) * kReferenceRow;
    if (i < 0 || size_t(i) >= reference_.size()) return kDontCare;
    return reference_[size_t(i)];
  }
  void setLevel(int slot, int cycle, uint8_t value);

  // Direction diagram: true when the pin is read in that cycle. Reads past the buffer give true.
  bool isRead(int pin, int cycle) const {
    const int64_t i = int64_t(pin) + int64_t(cycle) * kDirectionRow;
    if (i < 0 || size_t(i) >= directionBits_) return true;
    return (direction_[size_t(i) >> 3] >> (i & 7)) & 1u;
  }
  void setRead(int pin, int cycle, bool read);

  // Result diagram, pins 1..pinCount, cycles 1..cycleCount. Outside: not measured.
  uint8_t resultCode(int pin, int cycle) const {
    const int64_t i = int64_t(cycle - 1) * pinCount + (pin - 1);
    if (pin < 1 || pin > pinCount || cycle < 1 || i < 0 || size_t(i) >= result_.size()) return kNotMeasured;
    return result_[size_t(i)];
  }
  void setResultCode(int pin, int cycle, uint8_t code) {
    const int64_t i = int64_t(cycle - 1) * pinCount + (pin - 1);
    if (pin < 1 || pin > pinCount || cycle < 1 || i < 0 || size_t(i) >= result_.size()) return;
    result_[size_t(i)] = code;
  }
  // Every result byte of the loaded test becomes "not measured".
  void clearResults();

  // Returns false when the storage could not grow; the buffers then stay as they were.
  bool setCycleCount(int n);
  // Set when a grow was refused since the flag was last cleared ("Error DiagrSize").
  bool storageFailed() const { return storageFailed_; }
  void clearStorageFailed() { storageFailed_ = false; }

  // Copy of the reference taken at the end of a load, before any expansion.
  void takeReferenceBackup();
  uint8_t backupLevel(int slot, int cycle) const {
    const int64_t i = int64_t(slot) + int64_t(cycle) * kBackupRow;
    if (i < 0 || cycle > backupCycles_ || size_t(i) >= backup_.size()) return kDontCare;
    return backup_[size_t(i)];
  }
  void restoreCycle(int fromCycle, int toCycle);

  // Display rows.
  int rowSignal(int row) const;
  int rowOf(int pin, int half) const;

  bool isPassive(int pin) const {
    return pin >= 0 && pin < kPinRecords && isPassiveType(pins[size_t(pin)].typeText);
  }
  int32_t pinTypeCodeOf(int pin) const {
    return pin >= 1 && pin <= 100 ? typeCode[size_t(pin - 1)] : kOutput;
  }
  // Recomputes typeCode and passivePinCount from the pin texts (end of every load).
  void computeTypeCodes();

  // Raw buffers, for bulk work (expansion, comparison, the tester engine).
  const DiagramBuffer& referenceBuffer() const { return reference_; }
  DiagramBuffer& referenceBuffer() { return reference_; }
  const DiagramBuffer& resultBuffer() const { return result_; }
  DiagramBuffer& resultBuffer() { return result_; }
  size_t directionBitCount() const { return directionBits_; }
  // Bit-packed direction diagram; bit pin + cycle * 51. Writes must stay below directionBitCount().
  uint8_t* directionBits() { return direction_.data(); }
  const uint8_t* directionBits() const { return direction_.data(); }
  size_t backupSize() const { return size_t(backupCycles_) * kBackupRow + 101; }
  // Bytes held by the diagram buffers.
  size_t storageBytes() const;

 private:
  DiagramBuffer reference_;
  DiagramBuffer result_;
  DiagramBuffer direction_;  // bit-packed
  size_t directionBits_ = 0;
  DiagramBuffer backup_;
  int backupCycles_ = 0;
  bool storageFailed_ = false;
};

}  // namespace qel
