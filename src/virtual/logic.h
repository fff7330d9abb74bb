#pragma once
// Electrical vocabulary of the virtual board.

#include <array>
#include <cstdint>

namespace qel::virt {

inline constexpr int kMaxChipPins = 48;

// What a node of the board settles to.
enum class Net : uint8_t { Low, High, Float, Conflict };
// What one source does to a node.
enum class Drive : uint8_t { None, Low, High };
enum class PinRole : uint8_t { Input, Output, InOut, Ground, Supply, NotConnected };

// Per pin, index = pin number (index 0 unused).
using PinBits = std::array<uint8_t, kMaxChipPins + 1>;
using PinDrives = std::array<Drive, kMaxChipPins + 1>;

// The tester samples every cycle twice: a floating node reads high then low, a fought-over one low
// then high, so either reads as changing.
struct Samples {
  bool first = false, second = false;
};
inline Samples samplesOf(Net n) {
  return {n == Net::High || n == Net::Float, n == Net::High || n == Net::Conflict};
}

inline Drive driveOf(bool high) {
  return high ? Drive::High : Drive::Low;
}

}  // namespace qel::virt
