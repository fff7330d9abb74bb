#include <gtest/gtest.h>

#include "algorithms/algorithm_dialog.h"
#include "recording_operator.h"
#include "rom_fixture.h"

namespace qel::algorithms {
namespace {

using qel::testing::RecordingOperator;
using qel::testing::TemplateBuilder;

TestDescription& ramTest(TemplateBuilder& b, int radix) {
  b.pin(1, "I").pin(2, "I").pin(3, "I/O").word(0, {1, 2}, radix).word(1, {3}, radix).signal(4, "-_--");
  TestDescription& t = b.loaded(3);
  RamParams& p = t.algorithms.ram;
  p.writeStartCycle = 1;
  p.readStartCycle = 3;
  p.readAddressCycle = 3;
  p.readAddressWord = p.writeAddressWord = 0;
  p.readDataWord = p.writeDataWord = 1;
  return t;
}

TEST(AlgorithmDialog, AddressesAreShownAndSteppedInTheRadix) {
  TemplateBuilder b(8);
  TestDescription& t = ramTest(b, 2);
  t.algorithms.ram.startAddress = 6;
  RecordingOperator op;
  AlgorithmDialog d(t, true);
  EXPECT_EQ(d.page(), AlgorithmKind::Ram);
  EXPECT_EQ(d.address(AddressField::RamStart), "110");
  d.stepAddress(AddressField::RamStart, -1, op);
  EXPECT_EQ(d.address(AddressField::RamStart), "101");
  EXPECT_TRUE(d.modified());

  t.algorithms.ram.startAddress = 0;
  AlgorithmDialog atZero(t, true);
  atZero.stepAddress(AddressField::RamStart, -1, op);
  EXPECT_EQ(atZero.address(AddressField::RamStart), "0");

  for (auto [radix, value, shown] : {std::tuple{8, 8, "10"}, {16, 255, "FF"}, {10, 1234, "1234"}}) {
    TemplateBuilder bb(8);
    TestDescription& tt = ramTest(bb, radix);
    tt.algorithms.ram.finalAddress = value;
    EXPECT_EQ(AlgorithmDialog(tt, true).address(AddressField::RamFinal), shown);
  }
  EXPECT_TRUE(op.messages().empty());
}

TEST(AlgorithmDialog, EditingKeepsOnlyDigitsOfTheRadixInEveryField) {
  TemplateBuilder b(8);
  TestDescription& t = ramTest(b, 10);
  AlgorithmDialog d(t, true);
  d.editAddress(AddressField::RamStart, "1x2");
  EXPECT_EQ(d.address(AddressField::RamStart), "12");

  TemplateBuilder b8(8);
  AlgorithmDialog oct(ramTest(b8, 8), true);
  oct.editAddress(AddressField::RomFinal, "xy7");
  EXPECT_EQ(oct.address(AddressField::RomFinal), "7");
  oct.editAddress(AddressField::RomStart, "98");
  EXPECT_EQ(oct.address(AddressField::RomStart), "");
}

TEST(AlgorithmDialog, OkWithoutAChangeStoresAndExpandsNothing) {
  TemplateBuilder b(8);
  TestDescription& t = ramTest(b, 16);
  AlgorithmDialog d(t, true);
  d.editAddress(AddressField::RamStart, d.address(AddressField::RamStart));  // same text: no change
  RecordingOperator op;
  const DialogApplyResult r = d.accept(t, op, {});
  EXPECT_FALSE(r.applied);
  EXPECT_FALSE(r.compressedRamTest.has_value());
  EXPECT_EQ(t.cycleCount, 4);
  EXPECT_TRUE(op.events().empty());
}

TEST(AlgorithmDialog, OkStoresTheSmallerAddressFirstAndExpandsTheRam) {
  TemplateBuilder b(8);
  TestDescription& t = ramTest(b, 10);
  AlgorithmDialog d(t, true);
  d.editAddress(AddressField::RamStart, "100");
  d.editAddress(AddressField::RamFinal, "10");
  d.setCompressed(false);
  RecordingOperator op;
  const DialogApplyResult r = d.accept(t, op, {});
  EXPECT_EQ(t.algorithms.ram.startAddress, 10);
  EXPECT_EQ(t.algorithms.ram.finalAddress, 100);
  EXPECT_EQ(r.compressedRamTest, false);
  EXPECT_EQ(r.expanded, AlgorithmKind::Ram);
  // The expansion ran with the new setting: 91 cells, each written and read with both patterns.
  EXPECT_EQ(t.cycleCount, 4 * (1 + 1 + 2 * 91) + 1 * 4 + 1 * (4 + 2));
}

TEST(AlgorithmDialog, AnEmptyDecimalFieldStopsTheApplyAtThatField) {
  TemplateBuilder b(8);
  TestDescription& t = ramTest(b, 10);
  AlgorithmDialog d(t, true);
  d.editAddress(AddressField::RamStart, "");
  d.setCompressed(false);
  RecordingOperator op;
  const DialogApplyResult r = d.accept(t, op, {});
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].icon, Icon::Error);
  EXPECT_EQ(r.compressedRamTest, false);  // stored before the Ram fields are read
  EXPECT_FALSE(r.expanded.has_value());
  EXPECT_EQ(t.algorithms.ram.startAddress, 1);
  EXPECT_EQ(t.cycleCount, 4);
}

TEST(AlgorithmDialog, TheMarchPageEditsItsRangeAndBackgroundAndExpandsMarchCMinus) {
  TemplateBuilder b(8);
  b.pin(1, "I").pin(2, "I").pin(3, "I/O").word(0, {1, 2}, 16).word(1, {3}, 16).signal(4, "_---");
  TestDescription& t = b.loaded(4);
  MarchParams& p = t.algorithms.march;
  p.readStartCycle = p.readAddressCycle = p.readDataCycle = 3;
  p.readDataWord = p.writeDataWord = 1;
  p.finalAddress = 0x1F;
  AlgorithmDialog d(t, true);
  EXPECT_EQ(d.page(), AlgorithmKind::March);
  EXPECT_EQ(d.address(AddressField::MarchFinal), "1F");
  EXPECT_EQ(d.background(), MarchBackground::Solid);
  // The same editing rule as the other address fields, over all six of them.
  d.editAddress(AddressField::MarchStart, "3g");
  EXPECT_EQ(d.address(AddressField::MarchStart), "3");
  d.editAddress(AddressField::MarchFinal, "1");
  d.setBackground(MarchBackground::Checkerboard);
  RecordingOperator op;
  const DialogApplyResult r = d.accept(t, op, {});
  EXPECT_EQ(r.expanded, AlgorithmKind::March);
  EXPECT_EQ(p.startAddress, 1);
  EXPECT_EQ(p.finalAddress, 3);
  EXPECT_EQ(p.background, MarchBackground::Checkerboard);
  EXPECT_EQ(t.cycleCount, 3 * 5 * 4);
  EXPECT_EQ(qel::testing::wordLevels(t, 1, 1), 0);  // the checkerboard's 0 at an odd address

  // Only the background changed: that alone is a change to apply.
  AlgorithmDialog again(t, true);
  again.setBackground(MarchBackground::Solid);
  EXPECT_TRUE(again.modified());
  EXPECT_EQ(kBackgroundNames[size_t(MarchBackground::Checkerboard)], "Шахматный");
}

class AlgorithmDialogRom : public qel::testing::ScratchDir {};

TEST_F(AlgorithmDialogRom, OkStoresTheRangeAndFileAndExpandsTheRom) {
  TemplateBuilder b(20);
  TestDescription& t = qel::testing::romTemplate(b);
  write(path("chip.dat"), {0x42});
  AlgorithmDialog d(t, true);
  EXPECT_EQ(d.address(AddressField::RomStart), "100");
  RecordingOperator op;
  op.files = {path("chip.dat")};
  d.chooseDataFile(op);
  EXPECT_EQ(op.events().front(), "choose Data File|*.dat|All File|*.*");
  d.editAddress(AddressField::RomFinal, "10f");
  const DialogApplyResult r = d.accept(t, op, {});
  EXPECT_EQ(r.expanded, AlgorithmKind::Rom);
  EXPECT_EQ(t.algorithms.rom.finalAddress, 0x10F);
  EXPECT_EQ(t.algorithms.rom.dataFileName, path("chip.dat"));
  EXPECT_EQ(t.cycleCount, 16 * 4);
  EXPECT_EQ(qel::testing::wordLevels(t, 1, 3), 0x42);

  // Cancelled file choice: the name stays, but the click still counts as a change.
  AlgorithmDialog again(t, true);
  RecordingOperator none;
  again.chooseDataFile(none);
  EXPECT_EQ(again.dataFileName(), path("chip.dat"));
  EXPECT_TRUE(again.modified());
}

}  // namespace
}  // namespace qel::algorithms
