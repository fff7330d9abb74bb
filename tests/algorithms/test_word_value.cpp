#include <gtest/gtest.h>

#include "algorithms/common.h"
#include "algorithms/word_value.h"
#include "recording_operator.h"
#include "template_builder.h"

namespace qel::algorithms {
namespace {

using qel::testing::TemplateBuilder;
using qel::testing::wordLevels;

TEST(WriteWordValue, DigitsGoToThePinsInSlotOrderAndOnlyTheLowWidthBitsAppear) {
  TemplateBuilder b(16);
  b.word(0, {3, 5, 7, 9}).cycles(4);
  TestDescription& t = b.loaded(0);

  writeWordValue(t, t.words[0], 4, 2, 0b0110, WordMode::Drive);
  EXPECT_EQ(t.level(3, 2), 0);
  EXPECT_EQ(t.level(5, 2), 1);
  EXPECT_EQ(t.level(7, 2), 1);
  EXPECT_EQ(t.level(9, 2), 0);

  // A value wider than the word: only its low bits.
  writeWordValue(t, t.words[0], 4, 3, 0xF3, WordMode::Drive);
  EXPECT_EQ(wordLevels(t, 0, 3), 0x3);
  // A word with more pins than the value has bits: the upper pins get 0.
  writeWordValue(t, t.words[0], 4, 4, 1, WordMode::Drive);
  EXPECT_EQ(wordLevels(t, 0, 4), 1);
}

TEST(WriteWordValue, PinsBeyondTheWidthKeepTheirLevelButTakeTheDirection) {
  TemplateBuilder b(16);
  b.word(0, {1, 2, 3}).signal(3, "--").cycles(2);
  TestDescription& t = b.loaded(0);

  writeWordValue(t, t.words[0], 2, 1, 0, WordMode::Expect);
  EXPECT_EQ(t.level(1, 1), 0);
  EXPECT_EQ(t.level(3, 1), 1);
  EXPECT_TRUE(t.isRead(1, 1));
  EXPECT_TRUE(t.isRead(3, 1));
  writeWordValue(t, t.words[0], 2, 1, 3, WordMode::Drive);
  EXPECT_FALSE(t.isRead(3, 1));
  EXPECT_EQ(t.level(3, 1), 1);
}

TEST(WriteWordValue, APinNumberPastTheTablesDoesNotSpillIntoTheNextCycle) {
  TemplateBuilder b(16);
  b.cycles(3);
  TestDescription& t = b.loaded(0);
  t.words[0].pins[1] = 102;  // slot 1 of the next cycle's row
  t.words[0].pins[2] = 4;
  const uint8_t before = t.level(1, 3);

  writeWordValue(t, t.words[0], 2, 2, 0b11, WordMode::Expect);
  EXPECT_EQ(t.level(1, 3), before);
  EXPECT_EQ(t.level(4, 2), 1);
}

TEST(ExpansionCompletion, InputPinsAreDrivenAgainAndResultsNotMeasured) {
  TemplateBuilder b(8);
  b.pin(1, "I").pin(2, "I/O").word(0, {1, 2}).cycles(3);
  TestDescription& t = b.loaded(0);
  writeWordValue(t, t.words[0], 2, 2, 3, WordMode::Expect);
  t.setResultCode(1, 1, kReadHigh);

  testing::RecordingOperator op;
  completeExpansion(t, op);
  EXPECT_FALSE(t.isRead(1, 2));  // a data word may not make an input a read pin
  EXPECT_TRUE(t.isRead(2, 2));
  EXPECT_EQ(t.resultCode(1, 1), kNotMeasured);
}

}  // namespace
}  // namespace qel::algorithms
