#pragma once
// The in-memory test of one chip type: package, pins, signals over cycles, data words,
// algorithm parameters, and the reference and result diagrams.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/algorithm_settings.h"
#include "model/level_thresholds.h"
#include "model/pin_type.h"
#include "model/plane_rows.h"
#include "model/reference_backup.h"

namespace qel {

inline constexpr int kPinRecords = 101;   // pin records 0..100, record 0 carries no pin
inline constexpr int kMaxSignal = 100;    // signal numbers 1..100
inline constexpr int kMaxDirectPin = 50;  // direction and formula storage: pins 1..50
// The sizing rule of the diagrams counts bytes of these row lengths, though the rows are held
// compactly; reads past what the rule holds give don't care, "read" and "not measured".
inline constexpr int kReferenceRow = 101;  // bytes per cycle of the reference by the sizing rule
inline constexpr int kDirectionRow = 51;   // bits per cycle of the direction diagram
inline constexpr int kMaxDataWords = 10;
inline constexpr int kWordSlots = 99;  // pin slots 1..99 of a data word
inline constexpr int kRows = 100;      // display rows 1..100
// Beyond this the diagram storage is refused ("Error DiagrSize").
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

// One cycle of the reference and direction diagrams for slots 1..64, slot s at bit s - 1. The
// level is 2 * dontCare + high: 0 low, 1 high, 2 don't care.
struct CycleCells {
  uint64_t dontCare = 0;
  uint64_t high = 0;
  uint64_t read = 0;  // the pin is read from the chip in this cycle
};

// Cells of one cycle to write: the slots of levelMask take their levels, those of readMask their
// direction, from cells.
struct CellWrite {
  uint64_t levelMask = 0;
  uint64_t readMask = 0;
  CycleCells cells;
};

// One cycle of the result diagram for pins 1..64, pin p at bit p - 1.
struct ResultMasks {
  uint64_t low = 0;   // code 1, read low
  uint64_t high = 0;  // code 2, read high
};

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
    if (i < 0 || uint64_t(i) >= referenceSize_) return kDontCare;
    return storedLevel(size_t(cycle), slot);
  }
  void setLevel(int slot, int cycle, uint8_t value);

  // Direction diagram: true when the pin is read in that cycle. Reads past the buffer give true.
  bool isRead(int pin, int cycle) const {
    const int64_t i = int64_t(pin) + int64_t(cycle) * kDirectionRow;
    if (i < 0 || uint64_t(i) >= referenceSize_ / 2) return true;
    if (pin <= kMaxDirectPin && unsigned(pin - 1) < unsigned(cells_.slots()) && size_t(cycle) < cells_.rows())
      return cells_.bit(size_t(cycle), kReadPlane, pin - 1);
    return storedRead(size_t(i));
  }
  void setRead(int pin, int cycle, bool read);

  // Result diagram, pins 1..pinCount, cycles 1..cycleCount. Outside: not measured.
  uint8_t resultCode(int pin, int cycle) const {
    const int64_t i = int64_t(cycle - 1) * pinCount + (pin - 1);
    if (pin < 1 || pin > pinCount || cycle < 1 || i < 0 || uint64_t(i) >= referenceSize_ / 2)
      return kNotMeasured;
    if (size_t(cycle) >= results_.rows() || pin > results_.slots()) return kNotMeasured;
    const uint8_t* row = results_.row(size_t(cycle));
    const size_t byte = size_t(pin - 1) >> 3, pb = size_t(results_.planeBytes());
    const unsigned bit = unsigned(pin - 1) & 7u;
    const unsigned x = ((row[byte] >> bit) & 1u) | (((row[pb + byte] >> bit) & 1u) << 1) |
                       (((row[2 * pb + byte] >> bit) & 1u) << 2);
    return uint8_t(x ^ kNotMeasured);  // stored so that zero means not measured
  }
  void setResultCode(int pin, int cycle, uint8_t code);
  // Codes of `count` cycles from firstCycle, pinCount bytes a cycle, as a tester block returns them.
  void setResultCodes(int firstCycle, int count, const uint8_t* codes);
  // Every result byte of the loaded test becomes "not measured".
  void clearResults();

  // Whole cycles at once, for bulk work (reader, expansion, comparison). Slots above 64 are only
  // reached cell by cell.
  CycleCells cells(int cycle) const;
  ResultMasks resultMasks(int cycle) const;
  // Writes the slots of levelMask (levels) and readMask (direction) from v; grows like setLevel.
  void setCells(int cycle, uint64_t levelMask, uint64_t readMask, const CycleCells& v) {
    const CellWrite w{levelMask, readMask, v};
    writeCells(cycle, 1, &w);
  }
  // `count` cycles from firstCycle, one write each.
  void writeCells(int firstCycle, int count, const CellWrite* writes);
  // Copies the levels (not the direction) of `count` cycles from `from` to `to`; grows like setLevel.
  void copyLevels(int from, int to, int count);

  // Returns false when the storage could not grow; the buffers then stay as they were.
  bool setCycleCount(int n);
  // Set when a grow was refused since the flag was last cleared ("Error DiagrSize").
  bool storageFailed() const { return storageFailed_; }
  void clearStorageFailed() { storageFailed_ = false; }
  // Bytes the reference holds by the sizing rule: 103 n + 10301 for the largest n since the reset.
  // The direction holds half as many bits and the result half as many bytes.
  size_t referenceSize() const { return referenceSize_; }
  // Whether every cell of the cycle lies within those sizes, so that writing it grows nothing.
  bool holdsCycle(int cycle) const {
    return cycle >= 0 && uint64_t(cycle) * kReferenceRow + kMaxSignal < referenceSize_ &&
           uint64_t(cycle) * kDirectionRow + kMaxDirectPin < referenceSize_ / 2;
  }

  // The reference as the load left it, before any expansion.
  void takeReferenceBackup();
  int backupCycles() const { return backup_.cycles(); }
  uint8_t backupLevel(int slot, int cycle) const;
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

  // Bytes held by the diagrams and the backup.
  size_t storageBytes() const;

 private:
  // Planes of a reference row: the level's two bits, and read. A row never written reads low and
  // driven, as a fresh buffer of the sizing rule does.
  static constexpr int kDontCarePlane = 0, kHighPlane = 1, kReadPlane = 2;

  uint8_t storedLevel(size_t row, int slot) const {
    const unsigned s = unsigned(slot - 1);
    if (s >= unsigned(cells_.slots()) || row >= cells_.rows()) return unheldLevel(slot);
    return levelIn(cells_.row(row), s);
  }
  uint8_t levelIn(const uint8_t* levelPlanes, unsigned s) const {
    const unsigned b = s & 7u;
    const unsigned dontCare = (levelPlanes[s >> 3] >> b) & 1u;
    const unsigned high = (levelPlanes[size_t(cells_.planeBytes()) + (s >> 3)] >> b) & 1u;
    return uint8_t(dontCare << 1 | high);
  }
  // A slot the rows do not hold: never written, it reads low; a read half's slot past 50 only
  // ever holds don't care.
  static uint8_t unheldLevel(int slot) { return slot > kMaxDirectPin ? kDontCare : kLow; }
  // Whether writing value into a slot the rows do not hold changes what it reads.
  static bool changesUnheld(int slot, uint8_t value) { return value != unheldLevel(slot); }
  bool storedRead(size_t bit) const;
  // Rows [from, to) of the reference are about to change.
  void beforeLevelWrite(size_t from, size_t to) { backup_.beforeWrite(cells_, from, to); }
  // Room for slots 1..n in every row; false when memory is short.
  bool holdSlots(int n);
  void storeLevel(size_t row, int slot, uint8_t value);
  // Rows [from, to) become don't care on the package's pins and driven, as new cycles are.
  void freshCycles(size_t from, size_t to);

  size_t referenceSize_ = 0;
  PlaneRows cells_{3};    // reference levels and direction
  PlaneRows results_{3};  // result code xor 5, three bits
  ReferenceBackup backup_;
  bool storageFailed_ = false;
};

}  // namespace qel
