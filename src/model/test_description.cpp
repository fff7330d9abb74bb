#include "model/test_description.h"

#include <algorithm>
#include <cstring>
#include <new>

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
  // Growing from zero cycles lays every row anew, so nothing of the previous test shows through.
  backupCycles_ = 0;  // the buffer is kept for the next load to overwrite
  cycleCount = 0;
  templateCycles = 0;
}

void TestDescription::resetForStartup() {
  reset();
  pinCount = 32;
  for (int j = 1; j <= 50; ++j) rows[size_t(j)] = {j, 1};
  for (int j = 51; j <= kRows; ++j) rows[size_t(j)] = {0, 0};
}

void TestDescription::setLevel(int slot, int cycle, uint8_t value) {
  const int64_t i = int64_t(slot) + int64_t(cycle) * kReferenceRow;
  if (i < 0) return;
  if (size_t(i) >= reference_.size()) setCycleCount(cycle);
  if (size_t(i) < reference_.size()) reference_[size_t(i)] = value;
}

void TestDescription::setRead(int pin, int cycle, bool read) {
  if (pin < 0 || cycle < 0) return;
  const int64_t i = int64_t(pin) + int64_t(cycle) * kDirectionRow;
  if (size_t(i) >= directionBits_) setCycleCount(cycle);
  if (size_t(i) >= directionBits_) return;
  const uint8_t mask = uint8_t(1u << (i & 7));
  auto& byte = direction_[size_t(i) >> 3];
  byte = read ? uint8_t(byte | mask) : uint8_t(byte & ~mask);
}

void TestDescription::clearResults() {
  const int64_t n = std::min<int64_t>(int64_t(pinCount) * cycleCount + pinCount + 1, int64_t(result_.size()));
  std::fill_n(result_.begin(), n, uint8_t{kNotMeasured});
}

bool TestDescription::setCycleCount(int n) {
  if (n == cycleCount) return true;
  if (n < 0 || n > kMaxCycles) {
    storageFailed_ = true;
    return false;
  }
  const size_t need = size_t(103) * size_t(n) + 10301;
  if (reference_.size() < need) {
    try {
      reference_.reserve(need);
      result_.reserve(need / 2);
      direction_.reserve((need / 2 + 7) / 8);
      reference_.resize(need, 0);
      result_.resize(need / 2, 0);
      direction_.resize((need / 2 + 7) / 8, 0);
      directionBits_ = std::max(directionBits_, need / 2);
    } catch (const std::bad_alloc&) {
      storageFailed_ = true;
      return false;
    }
  }
  const int m = cycleCount;
  cycleCount = n;
  if (n > m) {
    // New cycles look as in a fresh buffer (all 0, bits clear), then their pins become don't care.
    std::array<uint8_t, kReferenceRow> fresh{};
    std::fill_n(fresh.begin() + 1, std::clamp(pinCount, 0, kMaxSignal), uint8_t{kDontCare});
    for (int c = m + 1; c <= n + 1; ++c) {
      const size_t row = size_t(c) * kReferenceRow;
      if (row + kReferenceRow > reference_.size()) break;
      std::memcpy(reference_.data() + row, fresh.data(), kReferenceRow);
    }
    const size_t bitFrom = size_t(m + 1) * kDirectionRow;
    const size_t bitTo = std::min(size_t(n + 2) * kDirectionRow, directionBits_);
    for (size_t b = bitFrom; b < bitTo && (b & 7); ++b)
      direction_[b >> 3] = uint8_t(direction_[b >> 3] & ~(1u << (b & 7)));
    const size_t byteFrom = (bitFrom + 7) / 8, byteTo = bitTo / 8;
    if (byteFrom < byteTo) std::memset(direction_.data() + byteFrom, 0, byteTo - byteFrom);
    for (size_t b = std::max(bitFrom, byteTo * 8); b < bitTo; ++b)
      direction_[b >> 3] = uint8_t(direction_[b >> 3] & ~(1u << (b & 7)));
    // From the first result byte of cycle m+1, so no new cycle is left without a code.
    const size_t from = size_t(m) * size_t(pinCount);
    const size_t to = std::min(size_t(pinCount) * size_t(n + 1), result_.size());
    if (from < to)
      std::fill(result_.begin() + int64_t(from), result_.begin() + int64_t(to), uint8_t{kNotMeasured});
  }
  return true;
}

void TestDescription::takeReferenceBackup() {
  backupCycles_ = cycleCount;
  backup_.resize(std::max(backup_.size(), size_t(cycleCount) * kBackupRow + 101));
  std::memset(backup_.data(), 0, 101);
  for (int c = 1; c <= cycleCount; ++c) {
    const size_t src = size_t(c) * kReferenceRow + 1;
    const size_t dst = size_t(c) * kBackupRow + 1;
    if (src + kMaxSignal <= reference_.size()) {
      std::memcpy(backup_.data() + dst, reference_.data() + src, kMaxSignal);
    } else {
      for (int s = 0; s < kMaxSignal; ++s)
        backup_[dst + size_t(s)] =
            src + size_t(s) < reference_.size() ? reference_[src + size_t(s)] : uint8_t{kDontCare};
    }
  }
}

void TestDescription::restoreCycle(int fromCycle, int toCycle) {
  for (int s = 1; s <= kMaxSignal; ++s) setLevel(s, toCycle, backupLevel(s, fromCycle));
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
  return reference_.capacity() + result_.capacity() + direction_.capacity() + backup_.capacity();
}

}  // namespace qel
