#pragma once
// The settings a run works with: the level windows, the calibration constant and the program options.

#include <cstdint>

#include "tester/initialise.h"

namespace qel::engine {

struct ProgramOptions {
  bool shortTest = true;            // "ShortTest": compressed RAM test
  bool vccOff = true;               // "VCCOff": supply off after the blocks that fight the tester
  bool continueRun = false;         // "Continue": "Продолжить" after a contact fault
  bool testChannelsOnStart = true;  // "TestCanalOnStart"
  bool operator==(const ProgramOptions&) const = default;
};

struct Settings {
  tester::LevelSettings levels;  // MinPGND 49, MaxPGND 65, MinPVCC 245
  float u0 = 1.375f;
  int32_t powerUpDelay = 300;  // ms; shown and kept, no command carries it
  ProgramOptions options;
};

}  // namespace qel::engine
