#include "model/test_description.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

namespace qel {

int DataWord::width() const {
  int n = 0;
  for (int s = 1; s <= kWordSlots; ++s)
    if (pins[size_t(s)] > 0) ++n;
  return n;
}

int DataWord::filledSlots() const {
  int n = 0;
  while (n < kWordSlots && pins[size_t(n + 1)] > 0) ++n;
  return n;
}

TestDescription::TestDescription() {
  reset();
}

void TestDescription::reset() {
  descriptionFile.clear();
  algorithms = AlgorithmSettings{};
  for (auto& w : words) w = DataWord{};
  for (int j = 0; j <= kRows; ++j) rows[size_t(j)] = {j, 0};
  for (auto& f : formula) f.clear();
  for (auto& p : pins) p = PinRecord{};
  pinCount = 8;
  ioPinCount = 0;
  // The sizes start again from nothing, so a file loads alike whatever was loaded before it; the
  // memory stays for the next load to reuse.
  referenceSize_ = 0;
  backup_.drop();
  cycleCount = 0;
  templateCycles = 0;
}

void TestDescription::resetForStartup() {
  reset();
  pinCount = 32;
  for (int j = 1; j <= 50; ++j) rows[size_t(j)] = {j, 1};
  for (int j = 51; j <= kRows; ++j) rows[size_t(j)] = {0, 0};
}

void TestDescription::storeLevel(size_t row, int slot, uint8_t value) {
  const uint8_t level = value > 3 ? uint8_t(kDontCare) : value;
  cells_.setBit(row, kDontCarePlane, slot - 1, level >= kDontCare);
  cells_.setBit(row, kHighPlane, slot - 1, (level & 1u) != 0);
}

void TestDescription::setLevel(int slot, int cycle, uint8_t value) {
  const int64_t i = int64_t(slot) + int64_t(cycle) * kReferenceRow;
  if (i < 0) return;
  if (uint64_t(i) >= referenceSize_) setCycleCount(cycle);
  if (uint64_t(i) >= referenceSize_) return;
  // Slot 0 carries no signal.
  if (slot < 1 || slot > kMaxSignal || cycle < 0 || size_t(cycle) >= cells_.rows()) return;
  if (slot > cells_.slots() && (!changesUnheld(slot, value) || !holdSlots(slot))) return;
  beforeLevelWrite(size_t(cycle), size_t(cycle) + 1);
  storeLevel(size_t(cycle), slot, value);
}

bool TestDescription::storedRead(size_t bit) const {
  // A pin number past 50 lands in a later cycle, as in a matrix of 51 bits a cycle.
  const size_t row = bit / kDirectionRow;
  const int pin = int(bit % kDirectionRow);
  if (pin == 0 || pin > cells_.slots() || row >= cells_.rows()) return false;
  return cells_.bit(row, kReadPlane, pin - 1);
}

void TestDescription::setRead(int pin, int cycle, bool read) {
  if (pin < 0 || cycle < 0) return;
  const int64_t i = int64_t(pin) + int64_t(cycle) * kDirectionRow;
  if (uint64_t(i) >= referenceSize_ / 2) setCycleCount(cycle);
  if (uint64_t(i) >= referenceSize_ / 2) return;
  const size_t row = size_t(i) / kDirectionRow;
  const int p = int(size_t(i) % kDirectionRow);
  if (p == 0 || row >= cells_.rows()) return;
  if (p > cells_.slots() && (!read || !holdSlots(p))) return;
  cells_.setBit(row, kReadPlane, p - 1, read);
}

void TestDescription::setResultCode(int pin, int cycle, uint8_t code) {
  const int64_t i = int64_t(cycle - 1) * pinCount + (pin - 1);
  if (pin < 1 || pin > pinCount || cycle < 1 || i < 0 || uint64_t(i) >= referenceSize_ / 2) return;
  if (size_t(cycle) >= results_.rows() || (pin > results_.slots() && !holdSlots(pin))) return;
  const unsigned x = std::min<unsigned>(code, 7) ^ kNotMeasured;
  for (int plane = 0; plane < 3; ++plane) results_.setBit(size_t(cycle), plane, pin - 1, (x >> plane) & 1u);
}

void TestDescription::setResultCodes(int firstCycle, int count, const uint8_t* codes) {
  const int width = pinCount;
  if (width < 1 || firstCycle < 1 || count < 1) return;
  if (width > results_.slots()) holdSlots(width);
  const int wordWidth = std::min({width, 64, results_.slots()});
  const uint64_t mask = wordWidth == 64 ? ~uint64_t(0) : (uint64_t(1) << wordWidth) - 1;
  // Cycles whose every pin lies within the result go in as plane words, each row written once
  // (a store per plane would overlap the next plane's load); the rest as single codes would.
  const uint64_t lastWhole =
      results_.rows() == 0 ? 0
                           : std::min<uint64_t>(referenceSize_ / 2 / uint64_t(width), results_.rows() - 1);
  const int whole = int(std::clamp<int64_t>(int64_t(lastWhole) - firstCycle + 1, 0, count));
  results_.merge(size_t(firstCycle), size_t(whole), [&](size_t j, uint64_t* masks, uint64_t* values) {
    const uint8_t* codesOf = codes + j * size_t(width);
    uint64_t x0 = 0, x1 = 0, x2 = 0;
    for (int p = 0; p < wordWidth; ++p) {
      const unsigned v = std::min<unsigned>(codesOf[p], 7) ^ kNotMeasured;
      x0 |= uint64_t(v & 1u) << p;
      x1 |= uint64_t((v >> 1) & 1u) << p;
      x2 |= uint64_t(v >> 2) << p;
    }
    masks[0] = masks[1] = masks[2] = mask;
    values[0] = x0;
    values[1] = x1;
    values[2] = x2;
  });
  for (int j = 0; j < count; ++j) {
    const uint8_t* codesOf = codes + size_t(j) * size_t(width);
    for (int p = j < whole ? wordWidth + 1 : 1; p <= width; ++p)
      setResultCode(p, firstCycle + j, codesOf[p - 1]);
  }
}

void TestDescription::clearResults() {
  results_.clear(0, results_.rows());
}

CycleCells TestDescription::cells(int cycle) const {
  constexpr uint64_t kDirectionPins = (uint64_t(1) << kMaxDirectPin) - 1;
  CycleCells v;
  if (holdsCycle(cycle)) {
    v.dontCare = cells_.word(size_t(cycle), kDontCarePlane);
    v.high = cells_.word(size_t(cycle), kHighPlane);
    v.read = cells_.word(size_t(cycle), kReadPlane) & kDirectionPins;
    v.dontCare |= ~cells_.wordMask() & ~kDirectionPins;  // read halves not held
    return v;
  }
  // Past the sizes of the rule, cell by cell.
  for (int s = 1; s <= 64; ++s) {
    const uint8_t l = level(s, cycle);
    const uint64_t bit = uint64_t(1) << (s - 1);
    if (l >= kDontCare) v.dontCare |= bit;
    if (l & 1u) v.high |= bit;
    if (s <= kMaxDirectPin && isRead(s, cycle)) v.read |= bit;
  }
  return v;
}

ResultMasks TestDescription::resultMasks(int cycle) const {
  ResultMasks m;
  const int width = std::min(pinCount, 64);
  if (cycle < 1 || width < 1) return m;
  if (uint64_t(cycle) * uint64_t(pinCount) <= referenceSize_ / 2 && size_t(cycle) < results_.rows()) {
    const uint64_t mask = width == 64 ? ~uint64_t(0) : (uint64_t(1) << width) - 1;
    const uint64_t x0 = results_.word(size_t(cycle), 0), x1 = results_.word(size_t(cycle), 1),
                   x2 = results_.word(size_t(cycle), 2);
    // Codes are held xor 5: code 1 is 100, code 2 is 111.
    m.low = ~x0 & ~x1 & x2 & mask;
    m.high = x0 & x1 & x2 & mask;
    return m;
  }
  for (int p = 1; p <= width; ++p) {
    const uint8_t code = resultCode(p, cycle);
    if (code == kReadLow) m.low |= uint64_t(1) << (p - 1);
    if (code == kReadHigh) m.high |= uint64_t(1) << (p - 1);
  }
  return m;
}

void TestDescription::writeCells(int firstCycle, int count, const CellWrite* writes) {
  constexpr uint64_t kDirectionPins = (uint64_t(1) << kMaxDirectPin) - 1;
  if (count < 1 || firstCycle < 0) return;
  const int last = firstCycle + count - 1;
  if (!holdsCycle(last)) setCycleCount(last);
  if (!holdsCycle(last)) return;
  // Slots past the rows need room only for a value other than the one they read already.
  uint64_t needed = 0, anyLevel = 0;
  for (int j = 0; j < count; ++j) {
    const CycleCells& c = writes[j].cells;
    const uint64_t notLow = (c.dontCare | c.high) & kDirectionPins;
    const uint64_t notDontCare = (~c.dontCare | c.high) & ~kDirectionPins;
    needed |= (writes[j].levelMask & (notLow | notDontCare)) | (writes[j].readMask & c.read & kDirectionPins);
    anyLevel |= writes[j].levelMask;
  }
  const int highest = 64 - std::countl_zero(needed);
  if (highest > cells_.slots() && !holdSlots(highest)) return;
  const uint64_t held = cells_.wordMask();
  if ((anyLevel & held) != 0) beforeLevelWrite(size_t(firstCycle), size_t(last) + 1);
  cells_.merge(size_t(firstCycle), size_t(count), [&](size_t j, uint64_t* masks, uint64_t* values) {
    const CellWrite& w = writes[j];
    masks[kDontCarePlane] = masks[kHighPlane] = w.levelMask & held;
    masks[kReadPlane] = w.readMask & held & kDirectionPins;
    values[kDontCarePlane] = w.cells.dontCare;
    values[kHighPlane] = w.cells.high;
    values[kReadPlane] = w.cells.read;
  });
}

void TestDescription::copyLevels(int from, int to, int count) {
  if (count < 1 || from < 0 || to < 0) return;
  const int last = to + count - 1;
  if (!holdsCycle(last)) setCycleCount(last);
  if (!holdsCycle(last)) return;
  beforeLevelWrite(size_t(to), size_t(last) + 1);
  const size_t planeBytes = size_t(cells_.planeBytes());
  const bool sourceHeld = holdsCycle(from + count - 1);
  auto copyRow = [&](int j) {
    uint8_t* d = cells_.rowToWrite(size_t(to + j));
    if (sourceHeld || holdsCycle(from + j)) {
      std::memmove(d, cells_.row(size_t(from + j)), 2 * planeBytes);
    } else {
      // Past the rule's sizes: don't care.
      std::memset(d + kDontCarePlane * planeBytes, 0xFF, planeBytes);
      std::memset(d + kHighPlane * planeBytes, 0, planeBytes);
    }
  };
  if (to > from)
    for (int j = count - 1; j >= 0; --j) copyRow(j);
  else
    for (int j = 0; j < count; ++j) copyRow(j);
}

bool TestDescription::holdSlots(int n) {
  n = std::min(n, kMaxSignal);
  if (n <= cells_.slots()) return true;
  const int oldBytes = cells_.planeBytes();
  try {
    cells_.widen(n);
    backup_.widen(oldBytes, cells_.planeBytes());
    results_.widen(n);
  } catch (const std::bad_alloc&) {
    storageFailed_ = true;
    return false;
  }
  return true;
}

void TestDescription::freshCycles(size_t from, size_t to) {
  to = std::min(to, cells_.rows());
  if (from >= to) return;
  beforeLevelWrite(from, to);
  results_.clear(from, to);
  // Don't care on the package's pins (the slots past them keep their levels), driven everywhere.
  const int width = std::clamp(pinCount, 0, std::min(cells_.slots(), kMaxSignal));
  const size_t pb = size_t(cells_.planeBytes());
  std::vector<uint8_t> fresh(cells_.rowBytes(), 0);
  for (int s = 0; s < width; ++s) fresh[kDontCarePlane * pb + size_t(s) / 8] |= uint8_t(1u << (s % 8));
  const size_t written = std::clamp(cells_.usedRows(), from, to);
  if (written < to) cells_.fillFresh(written, to, fresh.data());
  if (from >= written) return;
  if (width <= 64) {
    const uint64_t package = width == 64 ? ~uint64_t(0) : (uint64_t(1) << width) - 1;
    cells_.merge(from, written - from, [&](size_t, uint64_t* masks, uint64_t* values) {
      masks[kDontCarePlane] = masks[kHighPlane] = values[kDontCarePlane] = package;
      masks[kReadPlane] = ~uint64_t(0);
    });
    if (pb <= 8) return;
  }
  for (size_t r = from; r < written; ++r) {
    uint8_t* row = cells_.rowToWrite(r);
    for (int s = 0; s < width; ++s) {
      const auto bit = uint8_t(1u << (s % 8));
      row[kDontCarePlane * pb + size_t(s) / 8] |= bit;
      row[kHighPlane * pb + size_t(s) / 8] &= uint8_t(~bit);
    }
    std::memset(row + kReadPlane * pb, 0, pb);
  }
}

bool TestDescription::setCycleCount(int n) {
  if (n == cycleCount) return true;
  if (n < 0 || n > kMaxCycles) {
    storageFailed_ = true;
    return false;
  }
  const size_t need = size_t(103) * size_t(n) + 10301;
  const size_t rowsNeeded = (need + kReferenceRow - 1) / kReferenceRow;
  const int m = cycleCount;
  try {
    if (referenceSize_ == 0) {
      // Growing from nothing lays every row anew, so nothing of the previous test shows through.
      const int slots = std::clamp(pinCount, 1, kMaxSignal);
      cells_.layout(rowsNeeded, slots);
      results_.layout(rowsNeeded, slots);
    } else if (referenceSize_ < need) {
      cells_.grow(rowsNeeded);
      results_.grow(rowsNeeded);
    }
  } catch (const std::bad_alloc&) {
    storageFailed_ = true;
    return false;
  }
  if (n > m && pinCount > cells_.slots() && !holdSlots(pinCount)) return false;
  referenceSize_ = std::max(referenceSize_, need);
  cycleCount = n;
  if (n > m) freshCycles(size_t(m) + 1, size_t(n) + 2);  // and the cycle after them
  return true;
}

void TestDescription::takeReferenceBackup() {
  backup_.take(cycleCount);
}

uint8_t TestDescription::backupLevel(int slot, int cycle) const {
  if (cycle < 0 || cycle > backup_.cycles() || slot < 1 || slot > kMaxSignal) return kDontCare;
  if (cycle == 0) return kLow;  // the backup's cycle 0 is zero bytes
  if (slot > cells_.slots() || size_t(cycle) >= cells_.rows()) return unheldLevel(slot);
  return levelIn(backup_.levelPlanes(cells_, size_t(cycle)), unsigned(slot - 1));
}

void TestDescription::restoreCycle(int fromCycle, int toCycle) {
  if (toCycle < 0) return;
  const bool backedUp = fromCycle >= 1 && fromCycle <= backup_.cycles() && size_t(fromCycle) < cells_.rows();
  // A cycle that is still its own backup is restored onto itself by doing nothing.
  if (backedUp && fromCycle == toCycle &&
      backup_.levelPlanes(cells_, size_t(fromCycle)) == cells_.row(size_t(fromCycle)))
    return;
  if (!holdsCycle(toCycle)) setCycleCount(toCycle);
  if (!holdsCycle(toCycle)) return;
  beforeLevelWrite(size_t(toCycle), size_t(toCycle) + 1);
  const size_t planeBytes = size_t(cells_.planeBytes());
  uint8_t* to = cells_.rowToWrite(size_t(toCycle));
  if (backedUp) {
    std::memmove(to, backup_.levelPlanes(cells_, size_t(fromCycle)), 2 * planeBytes);
  } else {
    // Cycle 0 of the backup is low; past its end every slot is don't care.
    std::memset(to + kDontCarePlane * planeBytes, fromCycle == 0 ? 0 : 0xFF, planeBytes);
    std::memset(to + kHighPlane * planeBytes, 0, planeBytes);
  }
}

int TestDescription::rowSignal(int row) const {
  if (row < 0 || row > kRows) return 0;
  const auto& e = rows[size_t(row)];
  return e.pin + (e.half == 2 ? 50 : 0);
}

int TestDescription::rowOf(int pin, int half) const {
  const int last = std::min(pinCount + ioPinCount, kRows);
  for (int r = 1; r <= last; ++r)
    if (rows[size_t(r)] == RowEntry{pin, half}) return r;
  return 0;
}

void TestDescription::computeTypeCodes() {
  passivePinCount = 0;
  for (int k = 0; k < 100; ++k) {
    typeCode[size_t(k)] = pinTypeCode(pins[size_t(k + 1)].typeText);
    if (k < pinCount && isPassiveCode(typeCode[size_t(k)])) ++passivePinCount;
  }
}

size_t TestDescription::storageBytes() const {
  return cells_.capacityBytes() + results_.capacityBytes() + backup_.bytes();
}

}  // namespace qel
