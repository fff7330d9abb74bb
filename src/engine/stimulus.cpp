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
uint8_t codeOf(uint8_t level) { return level <= 1 ? uint8_t(level + 1) : kNoLevel; }
bool inGroup(int32_t group) { return group >= 1 && group < kGroups; }
}  // namespace

void deriveStimulus(const TestDescription& t, const ContactRecords& contacts, std::vector<uint8_t>& blockData, int block,
                    bool drive) {
  const int pins = std::clamp(t.pinCount, 0, kContactRecords);
  blockData.assign(size_t(pins) * tester::kMaxBlockCycles, 2);
  if (!drive) return;
  const int64_t start = int64_t(block) * tester::kMaxBlockCycles;
  const int64_t end = std::min<int64_t>(t.cycleCount, start + tester::kMaxBlockCycles);
  std::array<uint8_t, kGroups> groupLevel{};
  for (int64_t c = start; c < end; ++c) {
    const int rc = int(c + 1);
    groupLevel.fill(kNoLevel);
    bool ok = true;
    for (int i = 1; i <= pins && ok; ++i) {
      const int32_t type = t.pinTypeCodeOf(i);
      const ContactRecord& r = contacts[size_t(i - 1)];
      const uint8_t h = type != kInOut || t.isRead(i, rc) ? codeOf(t.level(i, rc)) : kNoLevel;
      if ((type == kOutput || type == kInOut) && h != kNoLevel && inGroup(r.group)) {
        uint8_t& g = groupLevel[size_t(r.group)];
        if (g == kNoLevel) g = h;
        if (g != h) ok = false;
      }
      if ((type == kInput || type == kOutput || type == kInOut) && h == 1 && r.mark == "!H") ok = false;
    }
    if (!ok) continue;  // the whole cycle stays undriven
    uint8_t* row = blockData.data() + size_t(c - start) * size_t(pins);
    for (int j = 1; j <= pins; ++j) {
      const int32_t type = t.pinTypeCodeOf(j);
      if (type != kInput && type != kInOut) continue;
      const ContactRecord& r = contacts[size_t(j - 1)];
      const uint8_t m = t.isRead(j, rc) ? kNoLevel : codeOf(t.level(j, rc));
      if (m != kNoLevel && inGroup(r.group)) {
        uint8_t& g = groupLevel[size_t(r.group)];
        if (g == kNoLevel) g = m;
        if (g != m) continue;
      }
      if (r.mark == "!L" || r.mark == "!H") continue;
      row[j - 1] = m == 1 ? 0 : m == 2 ? 1 : 2;
    }
  }
}


}  // namespace qel::engine
