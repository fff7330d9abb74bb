#pragma once
// Which tester channel each clip position reaches, per package size.

#include <array>
#include <cstddef>
#include <cstdint>

namespace qel::tester {

inline constexpr int kChannels = 32;
inline constexpr int kBanks = 2;
inline constexpr int kBankChannels = 16;
inline constexpr int kMapPins = 48;

// Row of the channel map for a pin count; counts without a row fall back to row 0.
int packageIndexOf(int pinCount);
// True when the pin count has its own row (8, 14, 16, 18, 20, 24, 28, 32).
bool hasChannelRow(int pinCount);
// Channel of pin index k (0-based) in a row; 0 beyond the package and for rows out of range.
int channelOf(int packageIndex, int pinIndex);

}  // namespace qel::tester
