#include <gtest/gtest.h>

#include "algorithms/expansion.h"
#include "algorithms/ram.h"
#include "recording_operator.h"
#include "template_builder.h"

namespace qel::algorithms {
namespace {

using qel::testing::TemplateBuilder;
using qel::testing::wordDirection;
using qel::testing::wordLevels;

struct RamShape {
  int writeLength, readLength;  // template blocks
  bool writeFirst;
  int addressPins, dataPins;
};

// A template of a write block and a read block; address word 0, data word 1, the write strobe on
// the pin after the data pins. Windows: address over the whole block, data in its last cycle.
TestDescription& ramTemplate(TemplateBuilder& b, const RamShape& s) {
  std::vector<int> address, data;
  int pin = 1;
  for (int k = 0; k < s.addressPins; ++k) b.pin(pin, "I"), address.push_back(pin++);
  for (int k = 0; k < s.dataPins; ++k) b.pin(pin, "I/O"), data.push_back(pin++);
  const int strobe = pin;
  b.pin(strobe, "I").word(0, address).word(1, data);
  std::string write(size_t(s.writeLength), '-'), read(size_t(s.readLength), '-');
  if (s.writeLength > 1) write[1] = '_';
  b.signal(strobe, s.writeFirst ? write + read : read + write);
  TestDescription& t = b.loaded(3);
  RamParams& p = t.algorithms.ram;
  const int w0 = s.writeFirst ? 1 : s.readLength + 1, r0 = s.writeFirst ? s.writeLength + 1 : 1;
  p.startAddress = 0;
  p.finalAddress = 3;
  p.writeStartCycle = w0;
  p.readStartCycle = r0;
  p.readAddressWord = p.writeAddressWord = 0;
  p.readDataWord = p.writeDataWord = 1;
  // The block with the later address cycle comes second in the template.
  p.writeAddressCycle = w0;
  p.readAddressCycle = r0;
  p.writeAddressCycles = s.writeLength;
  p.readAddressCycles = s.readLength;
  p.writeDataCycle = w0 + s.writeLength - 1;
  p.readDataCycle = r0 + s.readLength - 1;
  p.writeDataCycles = p.readDataCycles = 1;
  return t;
}

ExpansionOptions full() {
  ExpansionOptions o;
  o.compressedRamTest = false;
  return o;
}

TEST(ExpandRam, TheCompressedTestOfAThreeAndTwoCycleTemplateHas28Cycles) {
  TemplateBuilder b(8);
  TestDescription& t = ramTemplate(b, {3, 2, true, 2, 2});
  testing::RecordingOperator op;
  expandRam(t, op, {});

  ASSERT_EQ(t.cycleCount, 28);
  // zero 1..5, data bus 6..15, address write 16..18, address read 19..20, decoding 21..28
  const long address[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  for (int c = 1; c <= 28; ++c) EXPECT_EQ(wordLevels(t, 0, c), address[c - 1]) << c;
  const std::pair<int, long> data[] = {{3, 0},  {5, 0},  {8, 1},  {10, 1}, {13, 2},
                                       {15, 2}, {18, 0}, {23, 3}, {25, 3}, {28, 0}};
  for (auto [c, v] : data) EXPECT_EQ(wordLevels(t, 1, c), v) << c;
  // Written data is driven, read data expected; the strobe is the template's in every block.
  EXPECT_EQ(wordDirection(t, 1, 23), 0);
  EXPECT_EQ(wordDirection(t, 1, 25), 1);
  for (int c : {1, 6, 21, 26}) EXPECT_EQ(t.level(5, c), kHigh);
  for (int c : {2, 7, 22, 27}) EXPECT_EQ(t.level(5, c), kLow);
  EXPECT_EQ(t.level(1, 29), kDontCare);
  EXPECT_EQ(t.resultCode(3, 28), kNotMeasured);

  const auto events = op.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "wait show Загрузка алгоритма | Подождите - идет загрузка....");
  EXPECT_EQ(events.back(), "wait close");
}

TEST(ExpandRam, CycleCountFollowsTheFormulaForSeveralLayouts) {
  const RamShape shapes[] = {
      {3, 2, true, 2, 2}, {2, 2, true, 4, 8}, {2, 3, false, 3, 1}, {1, 1, false, 1, 4}, {4, 1, true, 6, 3}};
  for (const RamShape& s : shapes)
    for (bool compressed : {true, false}) {
      TemplateBuilder b(24);
      TestDescription& t = ramTemplate(b, s);
      t.algorithms.ram.finalAddress = 9;
      ExpansionOptions o;
      o.compressedRamTest = compressed;
      testing::RecordingOperator op;
      expandRam(t, op, o);
      const long lw = s.writeLength, lr = s.readLength, a = s.addressPins, d = s.dataPins,
                 n = compressed ? 0 : 10;
      const long expected =
          (lw + lr) * (1 + d + 2 * n) + (a - 1) * (lw + lr) + (a - 1) * (2 * lw + (a - 1) * lr);
      EXPECT_EQ(t.cycleCount, expected) << lw << lr << s.writeFirst << a << d << compressed;
      const RamLayout layout = ramLayout(t.algorithms.ram, t.templateCycles);
      EXPECT_GE(ramSizeEstimate(layout, t.templateCycles, a, d, n), expected);
      EXPECT_EQ(ramExactCount(layout, a, d, n), expected);
    }
}

TEST(ExpandRam, DecodingWritesAllOnesOverTheAddressWidthAndCellsGetBothPatterns) {
  TemplateBuilder b(16);
  TestDescription& t = ramTemplate(b, {2, 2, true, 4, 8});
  t.algorithms.ram.startAddress = 5;
  t.algorithms.ram.finalAddress = 6;
  testing::RecordingOperator op;
  expandRam(t, op, full());

  // Passes of 2 cycles: zero 2, data bus 8 x 2, address write 3, address read 3.
  const int decoding = 2 * (2 + 16 + 3 + 3);
  EXPECT_EQ(wordLevels(t, 0, decoding + 2), 1);
  EXPECT_EQ(wordLevels(t, 1, decoding + 2), 0x0F);  // M = 2^4 - 1 in an 8-bit data word
  EXPECT_EQ(wordLevels(t, 1, decoding + 4), 0x0F);  // reading address 1 back
  EXPECT_EQ(wordLevels(t, 1, decoding + 6), 0x00);  // address 2 was not written with M
  // The cells follow the three decoding rounds of 2 + 3 * 2 + 2 cycles.
  const int cells = decoding + 3 * 10;
  EXPECT_EQ(wordLevels(t, 0, cells + 1), 5);
  EXPECT_EQ(wordLevels(t, 1, cells + 2), 0x55);
  EXPECT_EQ(wordLevels(t, 1, cells + 4), 0x55);
  EXPECT_EQ(wordLevels(t, 0, cells + 5), 6);
  EXPECT_EQ(wordLevels(t, 1, cells + 10), 0xAA);
  EXPECT_EQ(wordDirection(t, 1, cells + 12), 1);
  EXPECT_EQ(t.cycleCount, cells + 16);
}

TEST(ExpandRam, EqualAddressCyclesPutTheReadBlockFirst) {
  RamParams p;
  p.readAddressCycle = p.writeAddressCycle = 1;
  p.readStartCycle = 1;
  p.writeStartCycle = 2;
  const RamLayout l = ramLayout(p, 3);
  EXPECT_EQ(std::tuple(l.readFirst, l.readLast, l.writeFirst, l.writeLast), std::tuple(1, 1, 2, 3));
}

TEST(ExpandRam, AChangedCompressionSettingExpandsASelectedRamBlockAgain) {
  TemplateBuilder b(8);
  TestDescription& t = ramTemplate(b, {1, 1, true, 1, 2});
  testing::RecordingOperator op;
  expandRam(t, op, {});
  ASSERT_EQ(t.cycleCount, 2 * 3);
  expandAfterCompressionChange(t, op, full(), false);  // was already full: nothing to do
  EXPECT_EQ(t.cycleCount, 6);
  expandAfterCompressionChange(t, op, full(), true);
  EXPECT_EQ(t.cycleCount, 2 * (3 + 2 * 4));
}

TEST(ExpandRam, RepeatedRunsGiveTheSameTestAndSwappedAddressesAreUsedInOrder) {
  TemplateBuilder b(16);
  TestDescription& t = ramTemplate(b, {2, 2, true, 3, 2});
  t.algorithms.ram.startAddress = 6;
  t.algorithms.ram.finalAddress = 2;
  testing::RecordingOperator op;
  expandRam(t, op, full());
  EXPECT_EQ(t.algorithms.ram.startAddress, 2);
  EXPECT_EQ(t.algorithms.ram.finalAddress, 6);
  const TestDescription first = t;
  const int count = t.cycleCount;
  expandRam(t, op, full());
  EXPECT_EQ(t.cycleCount, count);
  for (int c = 0; c <= count; ++c)
    for (int s = 1; s <= kMaxSignal; ++s) ASSERT_EQ(t.level(s, c), first.level(s, c)) << s << " " << c;
}

TEST(ExpandRam, AMissingOrEmptyWordIsRefusedAndTheTestStaysAsLoaded) {
  for (int32_t bad : {-1, 5, 10}) {
    TemplateBuilder b(8);
    TestDescription& t = ramTemplate(b, {2, 2, true, 2, 2});
    t.algorithms.ram.writeDataWord = bad;
    testing::RecordingOperator op;
    expandRam(t, op, {});
    EXPECT_EQ(t.cycleCount, 4);
    ASSERT_EQ(op.messages().size(), 1u);
    EXPECT_EQ(op.messages()[0].text,
              "Слово данных записи алгоритма ОЗУ не задано или не содержит контактов. Тест не развернут.");
    EXPECT_EQ(op.messages()[0].icon, Icon::Error);
  }
}

TEST(ExpandRam, BlocksOutsideTheTemplateAreCutToIt) {
  TemplateBuilder b(8);
  TestDescription& t = ramTemplate(b, {2, 2, true, 2, 2});
  t.algorithms.ram.writeStartCycle = -1'000'000'000;  // would make a block of a billion cycles
  testing::RecordingOperator op;
  expandRam(t, op, {});
  EXPECT_EQ(t.cycleCount, ramExactCount(ramLayout(t.algorithms.ram, 4), 2, 2, 0));
  EXPECT_EQ(ramLayout(t.algorithms.ram, 4).writeFirst, 1);
}

}  // namespace
}  // namespace qel::algorithms
