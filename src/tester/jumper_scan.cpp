#include "tester/jumper_scan.h"

#include "tester/tester_link.h"

namespace qel::tester {

std::array<int32_t, kChannels> analyseJumpers(const JumperReadings& m,
                                              const std::array<bool, kChannels>& powerChannel) {
  std::array<int32_t, kChannels> outcome{};
  auto high = [](int n) { return size_t(2 * n + 1); };
  auto low = [](int n) { return size_t(2 * n + 2); };
  for (int n = 0; n < kChannels; ++n) {
    if (powerChannel[size_t(n)]) continue;
    const auto& row = m[size_t(n)];
    if (row[high(n)] != kSampleHigh) outcome[size_t(n)] = kJumperStuckHigh;
    if (row[low(n)] != kSampleLow) outcome[size_t(n)] = kJumperStuckLow;
  }
  int32_t group = 0;
  for (int i = 0; i < kChannels; ++i) {
    if (outcome[size_t(i)] != 0) continue;
    const auto& mi = m[size_t(i)];
    bool found = false;
    for (int j = i + 1; j < kChannels; ++j) {
      if (outcome[size_t(j)] != 0) continue;
      const auto& mj = m[size_t(j)];
      const bool wired = mi[0] == mj[0] && mj[high(i)] == mi[high(i)] && mj[low(i)] == mi[low(i)] &&
                         mi[high(j)] == mj[high(j)] && mi[low(j)] == mj[low(j)];
      if (!wired) continue;
      if (!found) {
        found = true;
        ++group;
      }
      outcome[size_t(j)] = group;
    }
    if (found) outcome[size_t(i)] = group;
  }
  return outcome;
}

}  // namespace qel::tester
