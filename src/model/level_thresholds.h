#pragma once
// The level codes that sort a pin's measured potential into ground, supply or no contact, the
// calibration of that level scale, and the input thresholds and cycle time a test starts with.

#include <cstdint>

namespace qel {

struct LevelThresholds {
  // A ground pin at 0 V reads about 55 on the default scale; these leave room on both sides.
  static constexpr int32_t kDefaultMinGround = 49;   // "MinPGND"
  static constexpr int32_t kDefaultMaxGround = 65;   // "MaxPGND", 0,24 V
  static constexpr int32_t kDefaultMinSupply = 245;  // "MinPVCC", 4,72 V
  static constexpr double kDefaultU0 = 1.375;        // volts = code x (U0 + 5) / 256 - U0

  int32_t minGround = kDefaultMinGround;
  int32_t maxGround = kDefaultMaxGround;
  int32_t minSupply = kDefaultMinSupply;
  double u0 = kDefaultU0;

  bool operator==(const LevelThresholds&) const = default;
};

// Input thresholds of a test: logic one 2,01 V (code 103) in the high byte, logic zero 0,80 V
// (code 41) in the low byte, the TTL input levels.
inline constexpr int32_t kDefaultInputLevels = 103 * 256 + 41;  // 26409
inline constexpr int32_t kDefaultCycleTime = 2;                 // microseconds

}  // namespace qel
