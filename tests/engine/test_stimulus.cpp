// What a block drives, from the reference and the contact findings.

#include <gtest/gtest.h>

#include "engine/stimulus.h"

namespace qel::testing {
namespace {

struct Bench {
  TestDescription t;
  ContactRecords contacts;
  std::vector<uint8_t> block;
  // Pins 1, 2 inputs, 3, 4 outputs, 5 bidirectional, 6 GND, 7 NC, 8 VCC.
  Bench() {
    t.reset();
    t.pinCount = 8;
    const char* types[9] = {"", "I", "I", "O", "O", "I/O", "GND", "NC", "VCC"};
    for (int p = 1; p <= 8; ++p) t.pins[size_t(p)].typeText = types[p];
    t.computeTypeCodes();
    t.setCycleCount(4);
    resetContactRecords(contacts, t);
  }
  uint8_t at(int cycle, int pin) const { return block[size_t(cycle - 1) * 8 + size_t(pin - 1)]; }
  void derive() { engine::deriveStimulus(t, contacts, block, 0, true); }
};

TEST(Stimulus, InputsFollowTheReferenceAndOutputsAreNeverDriven) {
  Bench b;
  b.t.setLevel(1, 1, 1);
  b.t.setLevel(2, 1, 0);
  b.t.setLevel(3, 1, 1);
  b.t.setLevel(5, 1, 1);
  b.t.setRead(5, 1, false);
  b.t.setLevel(5, 2, 0);
  b.t.setRead(5, 2, true);
  b.derive();
  EXPECT_EQ(b.block.size(), size_t(8) * 8191);
  EXPECT_EQ(b.at(1, 1), 1);
  EXPECT_EQ(b.at(1, 2), 0);
  EXPECT_EQ(b.at(1, 3), 2);
  EXPECT_EQ(b.at(1, 5), 1);
  EXPECT_EQ(b.at(2, 5), 2);  // read in that cycle
  EXPECT_EQ(b.at(2, 1), 2);  // don't care
  EXPECT_EQ(b.at(1, 6), 2);
  // Analyser mode drives nothing.
  engine::deriveStimulus(b.t, b.contacts, b.block, 0, false);
  EXPECT_EQ(b.at(1, 1), 2);
}

TEST(Stimulus, WiredPinsAndPinsThatCannotMove) {
  Bench b;
  // Input 1 wired to output 3: driven only where it agrees with the output.
  b.contacts[0].group = 1;
  b.contacts[2].group = 1;
  b.t.setLevel(1, 1, 1), b.t.setLevel(3, 1, 0);
  b.t.setLevel(1, 2, 1), b.t.setLevel(3, 2, 1);
  b.t.setLevel(2, 1, 1), b.t.setLevel(2, 2, 1);
  // Two outputs of one group expected apart in cycle 3: the whole cycle is left alone.
  b.contacts[3].group = 150;  // groups above 99 stay inside the table
  b.contacts[4].group = 150;
  b.t.setLevel(2, 3, 1);
  b.t.setLevel(4, 3, 0);
  b.t.setLevel(5, 3, 1);
  b.t.setRead(5, 3, true);
  b.derive();
  EXPECT_EQ(b.at(1, 1), 2);
  EXPECT_EQ(b.at(2, 1), 1);
  EXPECT_EQ(b.at(1, 2), 1);
  EXPECT_EQ(b.at(2, 3), 2);

  Bench m;
  m.contacts[0].mark = "!H";
  m.contacts[1].mark = "!L";
  for (int c = 1; c <= 4; ++c) {
    m.t.setLevel(1, c, 1);
    m.t.setLevel(2, c, uint8_t(c % 2));
    m.t.setLevel(4, c, 1);
  }
  m.t.setLevel(1, 4, 0);  // an "!H" input expected low: its cycle stays undriven
  m.t.setLevel(4, 4, 2);
  m.derive();
  for (int c = 1; c <= 4; ++c) {
    EXPECT_EQ(m.at(c, 1), 2);
    EXPECT_EQ(m.at(c, 2), 2);
  }
  m.contacts[1].mark = "H";
  m.derive();
  EXPECT_EQ(m.at(1, 2), 1);
  EXPECT_EQ(m.at(4, 2), 2);
}

TEST(Stimulus, LaterBlocksStartAt8192) {
  Bench b;
  b.t.setCycleCount(8191 + 3);
  b.t.setLevel(1, 8192, 1);
  b.t.setLevel(1, 8194, 0);
  b.t.setLevel(1, 8191, 1);
  engine::deriveStimulus(b.t, b.contacts, b.block, 1, true);
  EXPECT_EQ(b.at(1, 1), 1);
  EXPECT_EQ(b.at(3, 1), 0);
  EXPECT_EQ(b.at(4, 1), 2);  // beyond the test
}

TEST(Stimulus, OverdrivenPinsAreTheDrivenOnesThatReadBackOtherwise) {
  // Three pins, rows of cycles: 0/1 driven low/high, 2 not driven; results 1 low, 2 high, 4 other.
  const std::vector<uint8_t> driven = {0, 1, 2, 0, 1, 2, 1, 0, 2};
  std::vector<uint8_t> result = {1, 2, 4, 1, 2, 1, 2, 1, 2};
  EXPECT_TRUE(engine::overdrivenPins(driven, result, 3, 3).empty());  // undriven pin 3 may read anything
  result[4] = 1;  // pin 2 driven high in cycle 2 reads low
  result[6] = 4;  // pin 1 driven high in cycle 3 reads neither level
  EXPECT_EQ(engine::overdrivenPins(driven, result, 3, 3), (std::vector<int>{1, 2}));
  // Only the block's cycles count: cycle 3 lies past a block of two.
  EXPECT_EQ(engine::overdrivenPins(driven, result, 3, 2), (std::vector<int>{2}));
}

}  // namespace
}  // namespace qel::testing
