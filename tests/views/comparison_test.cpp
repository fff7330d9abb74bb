#include <gtest/gtest.h>

#include <algorithm>

#include "recording_operator.h"
#include "views/comparison.h"
#include "views/cycle_comparison.h"
#include "views/mismatch.h"

namespace qel::views {
namespace {

using qel::testing::RecordingOperator;

// Pin 1 input, 2 output, 3 I/O (driven in odd cycles), 4 formula output, all expected low.
TestDescription chip(int cycles) {
  TestDescription t;
  t.pinCount = 4;
  const char* types[] = {"I", "O", "I/O", "F"};
  for (int p = 1; p <= 4; ++p) {
    t.pins[size_t(p)].typeText = types[p - 1];
    t.rows[size_t(p)] = {p, 1};
  }
  t.formula[4] = "C1&C2";
  t.computeTypeCodes();
  t.setCycleCount(cycles);
  for (int c = 1; c <= cycles; ++c)
    for (int p = 1; p <= 4; ++p) {
      t.setLevel(p, c, kLow);
      t.setResultCode(p, c, kReadLow);
      t.setRead(p, c, p == 3 && c % 2 == 0);
    }
  return t;
}

TEST(Mismatch, TheThreeVariantsOfTheCellRule) {
  for (auto rule : {MismatchRule::DiagramReference, MismatchRule::DiagramResult, MismatchRule::Comparison}) {
    for (uint8_t k = 0; k <= 6; ++k) EXPECT_FALSE(plainMismatch(kDontCare, k, rule));  // don't care never
    EXPECT_FALSE(plainMismatch(kLow, 1, rule));
    EXPECT_TRUE(plainMismatch(kLow, 2, rule));
    EXPECT_TRUE(plainMismatch(kHigh, 3, rule));
    EXPECT_TRUE(plainMismatch(kHigh, 4, rule));
  }
  // Not measured: no red cell, but an error in the comparison run.
  EXPECT_FALSE(plainMismatch(kHigh, 5, MismatchRule::DiagramReference));
  EXPECT_FALSE(plainMismatch(kHigh, 5, MismatchRule::DiagramResult));
  EXPECT_TRUE(plainMismatch(kHigh, 5, MismatchRule::Comparison));
  EXPECT_TRUE(plainMismatch(kLow, 0, MismatchRule::Comparison));
}

TEST(Mismatch, FormulaPinsAreJudgedOnTheMeasuredLevels) {
  auto t = chip(2);
  // Formula C1&C2 on measured 1 and 1 says high; pin 4 read low.
  t.setResultCode(1, 1, kReadHigh);
  t.setResultCode(2, 1, kReadHigh);
  EXPECT_TRUE(isMismatch(t, 4, 1, MismatchRule::DiagramReference));
  EXPECT_TRUE(isMismatch(t, 4, 1, MismatchRule::Comparison));
  t.setLevel(4, 1, kDontCare);
  EXPECT_TRUE(isMismatch(t, 4, 1, MismatchRule::DiagramReference));
  EXPECT_FALSE(isMismatch(t, 4, 1, MismatchRule::DiagramResult));
  // Undecidable formula, or no result on the pin: never.
  t.setResultCode(2, 2, kNotMeasured);
  t.setResultCode(4, 2, kReadHigh);
  EXPECT_FALSE(isMismatch(t, 4, 2, MismatchRule::DiagramReference));
  t.setResultCode(4, 1, kNotMeasured);
  EXPECT_FALSE(isMismatch(t, 4, 1, MismatchRule::DiagramReference));
  t.setResultCode(4, 1, kReadOther3);
  EXPECT_FALSE(isMismatch(t, 4, 1, MismatchRule::Comparison));
}

TEST(Comparison, CountsErrorCyclesAndDrivenMismatches) {
  auto t = chip(10);
  t.setResultCode(1, 2, kReadHigh);  // input: driven, counts in both
  t.setResultCode(2, 4, kReadHigh);  // output: errors only
  t.setResultCode(3, 5, kReadHigh);  // I/O driven in an odd cycle
  t.setResultCode(3, 6, kReadHigh);  // I/O read in an even one
  t.setResultCode(2, 7, kNotMeasured);
  t.setResultCode(1, 8, kReadHigh);  // both kinds in one cycle: one error cycle
  t.setResultCode(2, 8, kReadHigh);
  RecordingOperator op;
  ErrorList list;
  compareResults(t, list, op);
  EXPECT_EQ(list.errorCycles, (std::vector<int32_t>{2, 4, 5, 6, 7, 8}));
  EXPECT_EQ(list.errorCount, 6);
  EXPECT_EQ(list.mismatchCount, 3);
  EXPECT_EQ(op.lastCounters(), std::make_pair(6, 3));
  EXPECT_EQ(op.lines("progress log "),
            (std::vector<std::string>{"Всего найдено ошибок: 6", "Количество несовпадений: 3"}));
  EXPECT_EQ(op.errorCounterText(), "00/06");
  // One cycle at a time, the same verdicts.
  CycleComparison cycles(t);
  for (int c = 1; c <= 10; ++c) {
    const CycleMismatch v = cycles.compare(c);
    EXPECT_EQ(v.any(), std::count(list.errorCycles.begin(), list.errorCycles.end(), c) == 1) << c;
    EXPECT_EQ(v.driven, c == 2 || c == 5 || c == 8) << c;
  }
}

TEST(Comparison, TheListStopsAtItsSize) {
  auto t = chip(12000);
  for (int c = 1; c <= 12000; ++c) t.setResultCode(2, c, kReadHigh);
  RecordingOperator op;
  ErrorList list;
  compareResults(t, list, op);
  EXPECT_EQ(list.errorCount, kMaxErrors);
  EXPECT_EQ(list.errorCycles.back(), kMaxErrors);
  EXPECT_EQ(op.errorCounterText(), "00/9999");
}

TEST(Comparison, CounterTexts) {
  EXPECT_EQ(comparisonCounterText(0), "00/00");
  EXPECT_EQ(comparisonCounterText(7), "00/07");
  EXPECT_EQ(comparisonCounterText(42), "00/42");
  EXPECT_EQ(comparisonCounterText(123), "000/123");
  EXPECT_EQ(comparisonCounterText(4567), "00/4567");
}

TEST(Navigation, StepsThroughTheErrors) {
  ErrorList none;
  for (auto s : {Step::First, Step::Previous, Step::Next, Step::Last})
    EXPECT_EQ(navigate(none, s), std::nullopt);

  ErrorList one;
  one.errorCycles = {42};
  one.errorCount = 1;
  for (auto s : {Step::Next, Step::Previous, Step::First, Step::Last}) {
    EXPECT_EQ(navigate(one, s), 42);
    EXPECT_EQ(navigationCounterText(one), "1/1");
  }

  ErrorList l;
  l.errorCycles = {3, 9, 27};
  l.errorCount = 3;
  EXPECT_EQ(navigate(l, Step::Next), 3);
  EXPECT_EQ(navigate(l, Step::Next), 9);
  EXPECT_EQ(navigate(l, Step::Last), 27);
  EXPECT_EQ(navigationCounterText(l), "3/3");
  EXPECT_EQ(navigate(l, Step::Next), 27);
  EXPECT_EQ(navigate(l, Step::First), 3);
  EXPECT_EQ(navigate(l, Step::Previous), 3);
  EXPECT_EQ(navigationCounterText(l), "1/3");
}

}  // namespace
}  // namespace qel::views
