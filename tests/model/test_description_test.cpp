#include <gtest/gtest.h>

#include "model/test_description.h"

namespace qel {
namespace {

TEST(TestDescription, ReadsOutsideTheDiagramAreHarmless) {
  TestDescription t;
  t.pinCount = 14;
  t.setCycleCount(10);
  EXPECT_EQ(t.level(5, 11), kDontCare);
  EXPECT_EQ(t.level(5, 1'000'000), kDontCare);
  EXPECT_EQ(t.level(-3, -3), kDontCare);
  EXPECT_TRUE(t.isRead(5, 1'000'000));
  EXPECT_EQ(t.resultCode(5, 11), kNotMeasured);
  EXPECT_EQ(t.resultCode(15, 1), kNotMeasured);
  t.setResultCode(15, 1, kReadLow);  // beyond the pins: dropped, not written into the next cycle
  EXPECT_EQ(t.resultCode(1, 2), kNotMeasured);
}

TEST(TestDescription, GrowingFillsNewCyclesAndSameCountChangesNothing) {
  TestDescription t;
  t.pinCount = 4;
  t.setCycleCount(3);
  for (int c = 1; c <= 4; ++c)
    for (int p = 1; p <= 4; ++p) {
      EXPECT_EQ(t.level(p, c), kDontCare);
      EXPECT_EQ(t.resultCode(p, c), kNotMeasured);
    }
  t.setLevel(2, 2, kHigh);
  t.setResultCode(2, 3, kReadHigh);
  t.setCycleCount(3);
  EXPECT_EQ(t.level(2, 2), kHigh);
  EXPECT_EQ(t.resultCode(2, 3), kReadHigh);

  // Every new cycle gets "not measured", the first one after the old end included.
  t.setResultCode(1, 4, kReadLow);
  t.setCycleCount(200);
  EXPECT_EQ(t.cycleCount, 200);
  EXPECT_EQ(t.resultCode(1, 4), kNotMeasured);
  EXPECT_EQ(t.resultCode(4, 200), kNotMeasured);
  EXPECT_EQ(t.level(4, 201), kDontCare);
  EXPECT_EQ(t.resultCode(2, 3), kReadHigh);
  EXPECT_GE(t.referenceSize(), size_t(103 * 200 + 10301));
}

TEST(TestDescription, WritesBeyondTheBufferGrowTheTest) {
  TestDescription t;
  t.pinCount = 8;
  t.setCycleCount(5);
  const int far = int(t.referenceSize() / kReferenceRow) + 10;
  t.setLevel(3, far, kLow);
  EXPECT_EQ(t.cycleCount, far);
  EXPECT_EQ(t.level(3, far), kLow);
  t.setRead(3, far * 3, true);
  EXPECT_EQ(t.cycleCount, far * 3);
  EXPECT_TRUE(t.isRead(3, far * 3));
  EXPECT_FALSE(t.isRead(3, far));
  EXPECT_FALSE(t.setCycleCount(-1));
  EXPECT_TRUE(t.storageFailed());
  EXPECT_EQ(t.cycleCount, far * 3);
}

TEST(TestDescription, ResetForgetsThePreviousTest) {
  TestDescription t;
  t.pinCount = 8;
  t.setCycleCount(10);
  t.setLevel(1, 5, kLow);
  t.setRead(1, 5, true);
  t.pins[3].typeText = "O";
  t.pins[3].name = "Q";
  t.words[0].pins[1] = 3;
  t.algorithms.select(2);
  t.reset();
  EXPECT_EQ(t.cycleCount, 0);
  EXPECT_EQ(t.pinCount, 8);
  EXPECT_EQ(t.pins[3].typeText, "I");
  EXPECT_TRUE(t.pins[3].name.empty());
  EXPECT_EQ(t.words[0].pins[1], 0);
  EXPECT_EQ(t.words[0].radix, 10);
  EXPECT_EQ(t.words[0].ioKind, 1);
  EXPECT_TRUE(t.algorithms.standard.selected);
  EXPECT_FALSE(t.algorithms.rom.selected);
  EXPECT_EQ(t.rows[7], (RowEntry{7, 0}));
  t.setCycleCount(10);
  EXPECT_EQ(t.level(1, 5), kDontCare);
  EXPECT_FALSE(t.isRead(1, 5));
}

TEST(TestDescription, RowsAndTypeCodes) {
  TestDescription t;
  t.resetForStartup();
  EXPECT_EQ(t.pinCount, 32);
  EXPECT_EQ(t.rows[50], (RowEntry{50, 1}));
  EXPECT_EQ(t.rows[51], (RowEntry{0, 0}));
  t.reset();
  t.pinCount = 8;
  t.rows[1] = {5, 1};
  t.rows[2] = {5, 2};
  EXPECT_EQ(t.rowSignal(1), 5);
  EXPECT_EQ(t.rowSignal(2), 55);
  EXPECT_EQ(t.rowOf(5, 1), 1);
  EXPECT_EQ(t.rowOf(5, 2), 2);
  EXPECT_EQ(t.rowOf(9, 1), 0);

  const char* types[] = {"I", "O", "I/O", "NC", "GND", "VCC", "F", "Z"};
  for (int p = 1; p <= 8; ++p) t.pins[size_t(p)].typeText = types[p - 1];
  t.computeTypeCodes();
  const int codes[] = {1, 2, 3, 4, 10, 15, 2, 2};
  for (int p = 1; p <= 8; ++p) EXPECT_EQ(t.pinTypeCodeOf(p), codes[p - 1]) << types[p - 1];
  EXPECT_EQ(t.passivePinCount, 3);
  EXPECT_TRUE(t.isPassive(5));
  EXPECT_FALSE(t.isPassive(7));
}

TEST(TestDescription, BackupRestoresCycles) {
  TestDescription t;
  t.pinCount = 4;
  t.setCycleCount(3);
  t.setLevel(1, 1, kLow);
  t.setLevel(60, 2, kHigh);
  t.takeReferenceBackup();
  EXPECT_EQ(t.backupCycles(), 3);
  t.setLevel(1, 1, kHigh);
  t.restoreCycle(1, 3);
  t.restoreCycle(2, 1);
  EXPECT_EQ(t.level(1, 3), kLow);
  EXPECT_EQ(t.level(60, 1), kHigh);
  EXPECT_EQ(t.level(1, 1), kDontCare);
  t.restoreCycle(99, 2);  // beyond the backup: don't care
  EXPECT_EQ(t.level(60, 2), kDontCare);
}

}  // namespace
}  // namespace qel
