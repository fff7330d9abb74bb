#pragma once
// The settings a run works with: the level windows, the calibration constant and the program options.

#include <cstdint>

#include "model/level_thresholds.h"

namespace qel::engine {

struct ProgramOptions {
  bool shortTest = true;            // "ShortTest": compressed RAM test
  bool vccOff = true;               // "VCCOff": supply off after the blocks that fight the tester
  bool continueRun = false;         // "Continue": "Продолжить" after a contact fault
  bool testChannelsOnStart = true;  // "TestCanalOnStart"
  bool operator==(const ProgramOptions&) const = default;
};

inline constexpr int32_t kDefaultPowerUpDelay = 300;  // ms

struct Settings {
  LevelThresholds levels;
  int32_t powerUpDelay = kDefaultPowerUpDelay;  // shown and kept; no command carries it
  ProgramOptions options;
};

}  // namespace qel::engine
