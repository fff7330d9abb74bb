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

TEST(TestDescription, CompactRowsKeepEveryValueAndGrowForSlotsPastThePackage) {
  TestDescription t;
  t.pinCount = 14;
  t.setCycleCount(300);
  // Every level value, direction and result code, on slots that share bytes and cycles that
  // share rows; read back cell by cell and a cycle at once.
  for (int c = 1; c <= 300; ++c)
    for (int s = 1; s <= 14; ++s) {
      t.setLevel(s, c, uint8_t((s + c) % 4));
      t.setRead(s, c, (s * c) % 3 == 0);
      t.setResultCode(s, c, uint8_t((s + 2 * c) % 8));
    }
  for (int c = 1; c <= 300; ++c) {
    const CycleCells cells = t.cells(c);
    const ResultMasks masks = t.resultMasks(c);
    for (int s = 1; s <= 14; ++s) {
      const uint8_t l = uint8_t((s + c) % 4), code = uint8_t((s + 2 * c) % 8);
      const uint64_t bit = uint64_t(1) << (s - 1);
      ASSERT_EQ(t.level(s, c), l) << s << " " << c;
      ASSERT_EQ(t.isRead(s, c), (s * c) % 3 == 0) << s << " " << c;
      ASSERT_EQ(t.resultCode(s, c), code) << s << " " << c;
      ASSERT_EQ(((cells.dontCare & bit) ? 2 : 0) + ((cells.high & bit) ? 1 : 0), l);
      ASSERT_EQ((cells.read & bit) != 0, (s * c) % 3 == 0);
      ASSERT_EQ((masks.low & bit) != 0, code == kReadLow);
      ASSERT_EQ((masks.high & bit) != 0, code == kReadHigh);
    }
  }

  // A slot past the package never written reads low, as a fresh buffer does; a read half's slot
  // reads don't care. Writing one makes room for it without losing what the rows hold.
  EXPECT_EQ(t.level(30, 5), kLow);
  EXPECT_EQ(t.level(55, 5), kDontCare);
  EXPECT_FALSE(t.isRead(30, 5));
  t.setLevel(30, 5, kHigh);
  t.setRead(40, 6, true);
  t.setLevel(60, 7, kLow);
  EXPECT_EQ(t.level(30, 5), kHigh);
  EXPECT_TRUE(t.isRead(40, 6));
  EXPECT_EQ(t.level(60, 7), kLow);
  EXPECT_EQ(t.level(55, 7), kLow);
  for (int c = 1; c <= 300; ++c)
    for (int s = 1; s <= 14; ++s) {
      ASSERT_EQ(t.level(s, c), uint8_t((s + c) % 4)) << s << " " << c;
      ASSERT_EQ(t.resultCode(s, c), uint8_t((s + 2 * c) % 8)) << s << " " << c;
    }
  // Growing again: the package's pins of the new cycles are don't care, the rest stays low.
  t.setCycleCount(600);
  EXPECT_EQ(t.level(14, 450), kDontCare);
  EXPECT_EQ(t.level(30, 450), kLow);
  EXPECT_EQ(t.resultCode(14, 450), kNotMeasured);
}

TEST(TestDescription, ABlockOfResultCodesLandsAsCodeByCode) {
  // Package widths around the eight-pin groups the block store works in, codes of every value
  // including bytes above 7 (kept as 7), a block that ends short of the test's cycles and one that
  // runs past them.
  for (int pins : {1, 7, 8, 9, 14, 16, 17, 24, 40}) {
    SCOPED_TRACE(pins);
    TestDescription block, single;
    for (TestDescription* t : {&block, &single}) {
      t->pinCount = pins;
      t->setCycleCount(50);
    }
    std::vector<uint8_t> codes(size_t(pins) * 30);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = uint8_t(i * 37 % 11 == 10 ? 200 : i * 7 % 8);
    block.setResultCodes(31, 30, codes.data());  // cycles 31..60 of 50
    for (int j = 0; j < 30; ++j)
      for (int p = 1; p <= pins; ++p) single.setResultCode(p, 31 + j, codes[size_t(j * pins + p - 1)]);
    for (int c = 1; c <= 50; ++c)
      for (int p = 1; p <= pins; ++p) {
        ASSERT_EQ(block.resultCode(p, c), single.resultCode(p, c)) << p << " " << c;
        if (c > 30) {
          ASSERT_EQ(block.resultCode(p, c), std::min<uint8_t>(codes[size_t((c - 31) * pins + p - 1)], 7));
        }
      }
  }
}

TEST(TestDescription, RowsHoldOnlyThePackagesPinsAtTwoBitsALevel) {
  TestDescription t;
  t.pinCount = 40;
  t.setCycleCount(100'000);
  for (int c = 1; c <= 100'000; ++c)
    for (int p = 1; p <= 40; ++p) {
      t.setLevel(p, c, uint8_t(c % 3));
      t.setResultCode(p, c, kReadHigh);
    }
  // Reference, direction and result: 3 + 3 bits a pin, against 2 + 2 of information.
  EXPECT_LT(t.storageBytes(), size_t(100'000) * 40 * 6 / 8 * 11 / 10);
  TestDescription small;
  small.pinCount = 8;
  small.setCycleCount(100'000);
  EXPECT_LT(small.storageBytes(), t.storageBytes() / 4);
}

TEST(TestDescription, TheBackupCopiesOnlyTheCyclesThatChange) {
  TestDescription t;
  t.pinCount = 8;
  t.setCycleCount(1000);
  for (int c = 1; c <= 1000; ++c) t.setLevel(1 + c % 8, c, uint8_t(c % 2));
  const size_t before = t.storageBytes();
  t.takeReferenceBackup();
  EXPECT_EQ(t.storageBytes(), before);  // nothing copied while nothing changes

  // Changes by every kind of write, then the backup still gives the cycles as loaded.
  t.setLevel(2, 1, kDontCare);
  t.copyLevels(10, 500, 200);
  t.setCells(900, ~uint64_t(0) >> 56, 0, {.dontCare = 0, .high = 0xFF, .read = 0});
  t.setCycleCount(100);
  t.setCycleCount(1000);  // the cycles past 100 are laid anew
  EXPECT_GT(t.storageBytes(), before);
  EXPECT_LT(t.storageBytes(), before + 1000 * 2 + 4096);
  for (int c = 1; c <= 1000; ++c)
    for (int s = 1; s <= 8; ++s)
      ASSERT_EQ(t.backupLevel(s, c), s == 1 + c % 8 ? uint8_t(c % 2) : uint8_t(kDontCare)) << s << " " << c;
  t.restoreCycle(900, 900);
  t.restoreCycle(1, 600);  // cycle 1 was changed after the backup; its copy is restored
  EXPECT_EQ(t.level(2, 600), kHigh);
  EXPECT_EQ(t.level(5, 900), kLow);
  EXPECT_EQ(t.level(6, 900), kDontCare);
  EXPECT_EQ(t.level(2, 1), kDontCare);
}

TEST(TestDescription, CopiedLevelsOverlapLikeAMoveAndLeaveTheDirectionAlone) {
  TestDescription t;
  t.pinCount = 16;
  t.setCycleCount(20);
  for (int c = 1; c <= 10; ++c) {
    t.setLevel(16, c, uint8_t(c % 3));
    t.setRead(16, c, true);
  }
  t.copyLevels(1, 4, 10);  // forward over its own source
  for (int c = 4; c <= 13; ++c) EXPECT_EQ(t.level(16, c), uint8_t((c - 3) % 3)) << c;
  EXPECT_FALSE(t.isRead(16, 12));
  t.copyLevels(4, 2, 10);  // and back
  for (int c = 2; c <= 11; ++c) EXPECT_EQ(t.level(16, c), uint8_t((c - 1) % 3)) << c;
  // Copying past the storage grows the test as a write there would.
  const int far = int(t.referenceSize() / kReferenceRow) + 5;
  t.copyLevels(1, far, 5);
  EXPECT_EQ(t.cycleCount, far + 4);
  for (int j = 0; j < 5; ++j) EXPECT_EQ(t.level(16, far + j), t.level(16, 1 + j)) << j;
}

}  // namespace
}  // namespace qel
