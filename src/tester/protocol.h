#pragma once
// Wire constants shared by the program's side and the virtual tester.

#include <cstddef>
#include <cstdint>

namespace qel::tester {

// One code byte starts every command; the tester's firmware knows these and no others.
enum Command : uint8_t {
  kResetTester = 0xA1,        // back to the state of power-up; acknowledged
  kTestTesterRam = 0xA2,      // the tester checks its own memory; acknowledged
  kSetTestParameters = 0xA3,  // followed by the rest of the 8-byte frame below
  kPowerOn = 0xA4,            // the chip's supply through the clip
  kPowerOff = 0xA5,
  kVerifyTesterRam = 0xA6,  // the memory checked again with the parameters in it
  kReadLevels = 0xA7,       // acknowledged, then a level snapshot
  kReadLogic = 0xA8,        // acknowledged, then a logic snapshot
  kScanJumpers = 0xA9,      // acknowledged, then the jumper readings of both banks
  kRunImage = 0xAB,         // followed by the memory image; acknowledged, then the answers
  kParkTester = 0xAC,       // sent on closing, not acknowledged
};

// The acknowledgement byte; any other byte in its place is not an acknowledgement.
inline constexpr uint8_t kAckDone = 0;
inline constexpr uint8_t kAckFailed = 1;

// The tester's memory holds this many cycles per bank: longer tests run block by block.
inline constexpr int kMaxBlockCycles = 8191;
// Code, input thresholds (2), cycle time (1), cycle count (2), tail word (2).
inline constexpr size_t kParameterFrameSize = 8;
// Per bank and cycle a stimulus word and a drive-mask word, 2 bytes each: 65,528 bytes.
inline constexpr size_t kImageSize = size_t(2) * kMaxBlockCycles * 4;
// A level or logic snapshot: one byte per tester channel.
inline constexpr int kSnapshotSize = 32;
// Jumper readings per bank: one with nothing driven, then every channel high and then low.
inline constexpr int kJumperReadings = 1 + 2 * 32;
// The last field of the parameter frame: the tester expects 2000 there and nothing else.
inline constexpr uint16_t kTailWord = 2000;

// A channel's code from the two samples of a reading; the result diagram keeps it as it comes.
inline constexpr uint8_t kSampleLow = 1;
inline constexpr uint8_t kSampleHigh = 2;
inline constexpr uint8_t kSampleChanging = 4;  // the samples differ: the level moved in the cycle

inline constexpr uint8_t sampleCode(uint16_t first, uint16_t second, int bit) {
  const bool a = (first >> bit) & 1u, b = (second >> bit) & 1u;
  return a != b ? kSampleChanging : (a ? kSampleHigh : kSampleLow);
}

}  // namespace qel::tester
