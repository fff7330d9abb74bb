#pragma once
// Which channels the board wires together, and which ones cannot be moved, from the 2 x 65
// readings of the jumper scan.

#include <array>
#include <cstdint>

#include "tester/channel_map.h"
#include "tester/protocol.h"

namespace qel::tester {

// codes[channel][reading]: 1 low, 2 high, 4 undefined. Reading 0 drives nothing; reading 2n+1
// drives channel n high, 2n+2 drives it low.
using JumperReadings = std::array<std::array<uint8_t, kJumperReadings>, kChannels>;

// powerChannel[n]: channel n carries a GND or VCC pin (never reported as stuck).
std::array<int32_t, kChannels> analyseJumpers(const JumperReadings& codes,
                                              const std::array<bool, kChannels>& powerChannel);

}  // namespace qel::tester
