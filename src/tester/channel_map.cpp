#include "tester/channel_map.h"

namespace qel::tester {

namespace {

constexpr std::array<int, 8> kRowPins = {8, 14, 16, 20, 24, 28, 18, 32};

// Pins 1..N/2 run up bank 0 from channel 0; the other half runs down bank 1 so that pin N is
// channel 16.
constexpr std::array<std::array<uint8_t, kMapPins>, 8> makeMap() {
  std::array<std::array<uint8_t, kMapPins>, 8> map{};
  for (size_t row = 0; row < kRowPins.size(); ++row) {
    const int n = kRowPins[row];
    for (int p = 1; p <= n; ++p) map[row][size_t(p - 1)] = uint8_t(p <= n / 2 ? p - 1 : 16 + (n - p));
  }
  return map;
}

constexpr auto kMap = makeMap();

}  // namespace

int packageIndexOf(int pinCount) {
  for (size_t row = 0; row < kRowPins.size(); ++row)
    if (kRowPins[row] == pinCount) return int(row);
  return 0;
}

bool hasChannelRow(int pinCount) {
  for (int n : kRowPins)
    if (n == pinCount) return true;
  return false;
}

int channelOf(int packageIndex, int pinIndex) {
  if (packageIndex < 0 || packageIndex >= int(kMap.size()) || pinIndex < 0 || pinIndex >= kMapPins) return 0;
  return kMap[size_t(packageIndex)][size_t(pinIndex)];
}

}  // namespace qel::tester
