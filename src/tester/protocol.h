#pragma once
// Wire constants shared by the program's side and the virtual tester.

#include <cstddef>
#include <cstdint>

namespace qel::tester {

enum Command : uint8_t {
  kResetTester = 0xA1,
  kTestTesterRam = 0xA2,
  kSetTestParameters = 0xA3,
  kPowerOn = 0xA4,
  kPowerOff = 0xA5,
  kVerifyTesterRam = 0xA6,
  kReadLevels = 0xA7,
  kReadLogic = 0xA8,
  kScanJumpers = 0xA9,
  kRunImage = 0xAB,
  kParkTester = 0xAC,
};

inline constexpr uint8_t kAckDone = 0;
inline constexpr uint8_t kAckFailed = 1;

inline constexpr int kMaxBlockCycles = 8191;
inline constexpr size_t kParameterFrameSize = 8;
inline constexpr size_t kImageSize = size_t(2) * kMaxBlockCycles * 4;  // 65,528
inline constexpr int kSnapshotSize = 32;
inline constexpr int kJumperReadings = 65;
inline constexpr uint16_t kTailWord = 2000;

// Code of one channel bit from the two samples of a reading: 4 when they differ, else 2 or 1.
inline constexpr uint8_t sampleCode(uint16_t first, uint16_t second, int bit) {
  const bool a = (first >> bit) & 1u, b = (second >> bit) & 1u;
  return a != b ? 4 : (a ? 2 : 1);
}

}  // namespace qel::tester
