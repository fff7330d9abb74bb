#include "engine/stimulus.h"

#include <algorithm>
#include <array>

#include "tester/protocol.h"

namespace qel::engine {

namespace {
constexpr uint8_t kNoLevel = 4;
// Groups come as 1..199; a table of 100 would be overrun by the higher ones.
constexpr int kGroups = 200;

// Expected code of a reference level: 1 low, 2 high, 4 none.
uint8_t codeOf(uint8_t level) {
  return level <= 1 ? uint8_t(level + 1) : kNoLevel;
}
bool inGroup(int32_t group) {
  return group >= 1 && group < kGroups;
}
}  // namespace

void deriveStimulus(const TestDescription& t, const ContactRecords& contacts, std::vector<uint8_t>& blockData,
                    int block, bool drive) {
  const int pins = std::clamp(t.pinCount, 0, kContactRecords);
  blockData.assign(size_t(pins) * tester::kMaxBlockCycles, 2);
  if (!drive) return;

  // What the cycles ask of each pin, looked up once per block.
  struct Pin {
    int32_t type;
    int32_t group;   // 0 when not in a group
    bool stuckHigh;  // "!H"
    bool fixed;      // "!L" or "!H"
  };
  std::array<Pin, kContactRecords + 1> pin{};
  for (int i = 1; i <= pins; ++i) {
    const ContactRecord& r = contacts[size_t(i - 1)];
    pin[size_t(i)] = {t.pinTypeCodeOf(i), inGroup(r.group) ? r.group : 0, r.mark == "!H",
                      r.mark == "!L" || r.mark == "!H"};
  }

  const int64_t start = int64_t(block) * tester::kMaxBlockCycles;
  const int64_t end = std::min<int64_t>(t.cycleCount, start + tester::kMaxBlockCycles);
  std::array<uint8_t, kGroups> groupLevel{};
  for (int64_t c = start; c < end; ++c) {
    const int rc = int(c + 1);
    groupLevel.fill(kNoLevel);
    bool ok = true;
    for (int i = 1; i <= pins && ok; ++i) {
      const Pin& p = pin[size_t(i)];
      const uint8_t h = p.type != kInOut || t.isRead(i, rc) ? codeOf(t.level(i, rc)) : kNoLevel;
      if ((p.type == kOutput || p.type == kInOut) && h != kNoLevel && p.group != 0) {
        uint8_t& g = groupLevel[size_t(p.group)];
        if (g == kNoLevel) g = h;
        if (g != h) ok = false;
      }
      if ((p.type == kInput || p.type == kOutput || p.type == kInOut) && h == 1 && p.stuckHigh) ok = false;
    }
    if (!ok) continue;  // the whole cycle stays undriven
    uint8_t* row = blockData.data() + size_t(c - start) * size_t(pins);
    for (int j = 1; j <= pins; ++j) {
      const Pin& p = pin[size_t(j)];
      if (p.type != kInput && p.type != kInOut) continue;
      const uint8_t m = t.isRead(j, rc) ? kNoLevel : codeOf(t.level(j, rc));
      if (m != kNoLevel && p.group != 0) {
        uint8_t& g = groupLevel[size_t(p.group)];
        if (g == kNoLevel) g = m;
        if (g != m) continue;
      }
      if (p.fixed) continue;
      row[j - 1] = m == 1 ? 0 : m == 2 ? 1 : 2;
    }
  }
}

std::vector<int> overdrivenPins(const std::vector<uint8_t>& blockData,
                                const std::vector<uint8_t>& blockResult, int pins, int cycles) {
  const size_t width = size_t(std::max(pins, 1));
  std::vector<uint8_t> fought(width);
  const size_t cells = std::min(
      {size_t(std::max(cycles, 0)) * size_t(std::max(pins, 0)), blockData.size(), blockResult.size()});
  // Row by row and without branches: this runs between two blocks on the link.
  const uint8_t* driven = blockData.data();
  const uint8_t* read = blockResult.data();
  for (size_t row = 0; row < cells; row += width) {
    const size_t n = std::min(width, cells - row);
    for (size_t k = 0; k < n; ++k)
      fought[k] |= uint8_t((driven[row + k] <= 1) & (read[row + k] != driven[row + k] + 1));
  }
  std::vector<int> out;
  for (int p = 1; p <= pins; ++p)
    if (fought[size_t(p - 1)]) out.push_back(p);
  return out;
}

}  // namespace qel::engine
