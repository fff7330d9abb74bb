#include <gtest/gtest.h>

#include <fstream>

#include "virtual/memory_pins.h"
#include "virtual_rig.h"

using namespace qel;
using qel::testing::VirtualRig;

namespace {

void start(VirtualRig& r) {
  ASSERT_FALSE(r.link->checkPresence());
  ASSERT_FALSE(r.link->resetTester());
  ASSERT_FALSE(r.link->powerOn());
}

uint8_t code(const std::vector<uint8_t>& result, int pins, int cycle, int pin) {
  return result[size_t(cycle * pins + pin - 1)];
}

// A memory cycle: address driven, control pins as given, data pins driven with `data` or left free.
std::vector<uint8_t> memoryRow(int pins, int address, int cs, int oe, int we, int data = -1) {
  std::vector<uint8_t> row(size_t(pins), 2);
  for (size_t b = 0; b < virt::kAddressPins.size(); ++b)
    row[virt::kAddressPins[b] - 1] = uint8_t((address >> b) & 1);
  row[virt::kChipSelectPin - 1] = uint8_t(cs);
  row[virt::kOutputEnablePin - 1] = uint8_t(oe);
  row[virt::kWriteEnablePin - 1] = uint8_t(we);
  if (data >= 0)
    for (size_t b = 0; b < virt::kDataPins.size(); ++b)
      row[virt::kDataPins[b] - 1] = uint8_t((data >> b) & 1);
  return row;
}

int dataRead(const std::vector<uint8_t>& result, int pins, int cycle) {
  int v = 0;
  for (size_t b = 0; b < virt::kDataPins.size(); ++b) {
    const uint8_t c = code(result, pins, cycle, int(virt::kDataPins[b]));
    if (c == 4) return -1;
    if (c == 2) v |= 1 << b;
  }
  return v;
}

}  // namespace

TEST(Chips, Nand7400TruthTableAndFloatingInputs) {
  VirtualRig r(VirtualRig::chip("7400"));
  start(r);
  const auto result = r.run(
      {r.row({{1, 0}, {2, 0}}), r.row({{1, 1}, {2, 0}}), r.row({{1, 0}, {2, 1}}), r.row({{1, 1}, {2, 1}})});
  EXPECT_EQ(code(result, 14, 0, 3), 2);
  EXPECT_EQ(code(result, 14, 1, 3), 2);
  EXPECT_EQ(code(result, 14, 2, 3), 2);
  EXPECT_EQ(code(result, 14, 3, 3), 1);
  // Driven inputs read back what was driven; an undriven input floats: undefined.
  EXPECT_EQ(code(result, 14, 3, 1), 2);
  EXPECT_EQ(code(result, 14, 0, 4), 4);
  // Gate 2 with floating (high) inputs gives low; the rails read as ground and supply.
  EXPECT_EQ(code(result, 14, 0, 6), 1);
  EXPECT_EQ(code(result, 14, 0, 7), 1);
  EXPECT_EQ(code(result, 14, 0, 14), 2);

  // Without supply the outputs float.
  ASSERT_FALSE(r.link->powerOff());
  const auto off = r.run({r.row({{1, 1}, {2, 1}})});
  EXPECT_EQ(code(off, 14, 0, 3), 4);
}

TEST(Chips, FlipFlop7474KeepsStateAcrossCyclesAndBlocks) {
  VirtualRig r(VirtualRig::chip("7474"));
  start(r);
  // Flip-flop 1: CLR 1, D 2, CLK 3, PRE 4, Q 5, /Q 6.
  auto ff = [&](int d, int clk, int pre = 1, int clr = 1) {
    return r.row({{1, clr}, {2, d}, {3, clk}, {4, pre}});
  };
  auto first = r.run({ff(1, 0), ff(1, 1), ff(0, 1), ff(0, 0)});
  EXPECT_EQ(code(first, 14, 1, 5), 2);  // rising edge takes D = 1
  EXPECT_EQ(code(first, 14, 1, 6), 1);
  EXPECT_EQ(code(first, 14, 2, 5), 2);  // D changes without an edge: Q holds
  EXPECT_EQ(code(first, 14, 3, 5), 2);
  // The next block starts from the state the last one left.
  auto second = r.run({ff(0, 0), ff(0, 1), ff(1, 0, 1, 0), ff(1, 1, 0, 1)});
  EXPECT_EQ(code(second, 14, 0, 5), 2);
  EXPECT_EQ(code(second, 14, 1, 5), 1);  // edge with D = 0
  EXPECT_EQ(code(second, 14, 2, 5), 1);  // clear
  EXPECT_EQ(code(second, 14, 3, 5), 2);  // preset wins over the clock
  // Flip-flop 2 was never clocked: Q 9 low, /Q 8 high.
  EXPECT_EQ(code(second, 14, 0, 9), 1);
  EXPECT_EQ(code(second, 14, 0, 8), 2);
}

TEST(Chips, Eprom2716ReadsItsRomDataFile) {
  const std::string path = std::string(VIRTUAL_TEST_DIR) + "/eprom.dat";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 300; ++i) out.put(char(i * 7));
  }
  auto config = VirtualRig::chip("2716", {"rombyte:0x10=0xAA", "cell:20=0x0F"});
  config.romFile = path;
  VirtualRig r(config);
  start(r);
  const auto result =
      r.run({memoryRow(24, 5, 0, 0, 1), memoryRow(24, 0x10, 0, 0, 1), memoryRow(24, 299, 0, 0, 1),
             memoryRow(24, 1500, 0, 0, 1), memoryRow(24, 5, 0, 1, 1), memoryRow(24, 20, 0, 0, 1)});
  EXPECT_EQ(dataRead(result, 24, 0), 35);
  EXPECT_EQ(dataRead(result, 24, 1), 0xAA);
  EXPECT_EQ(dataRead(result, 24, 2), (299 * 7) & 0xFF);
  EXPECT_EQ(dataRead(result, 24, 3), 0xFF);  // beyond the file: erased
  EXPECT_EQ(dataRead(result, 24, 4), -1);    // output disabled: the data pins float
  EXPECT_EQ(dataRead(result, 24, 5), 0x0F);

  auto missing = VirtualRig::chip("2716");
  missing.romFile = path + ".none";
  EXPECT_THROW(VirtualRig{missing}, std::runtime_error);
}

TEST(Chips, Ram6116WritesAndKeepsItsCells) {
  VirtualRig r(VirtualRig::chip("6116", {"cell:0x7FF=0x81"}));
  start(r);
  r.run({memoryRow(24, 0x123, 0, 1, 0, 0x5A), memoryRow(24, 0x456, 0, 1, 0, 0xC3),
         memoryRow(24, 0x7FF, 0, 1, 0, 0x00), memoryRow(24, 0x124, 1, 1, 0, 0xFF)});
  const auto result = r.run({memoryRow(24, 0x123, 0, 0, 1), memoryRow(24, 0x456, 0, 0, 1),
                             memoryRow(24, 0x7FF, 0, 0, 1), memoryRow(24, 0x124, 0, 0, 1)});
  EXPECT_EQ(dataRead(result, 24, 0), 0x5A);
  EXPECT_EQ(dataRead(result, 24, 1), 0xC3);
  EXPECT_EQ(dataRead(result, 24, 2), 0x81);  // the stuck cell
  EXPECT_EQ(dataRead(result, 24, 3), 0x00);  // not selected when written
  // Losing the supply loses the content.
  ASSERT_FALSE(r.link->powerOff());
  ASSERT_FALSE(r.link->powerOn());
  EXPECT_EQ(dataRead(r.run({memoryRow(24, 0x123, 0, 0, 1)}), 24, 0), 0);
}

TEST(Chips, MemoryFaultsInsideTheRamAndTheRom) {
  auto write = [](int a, int d) { return memoryRow(24, a, 0, 1, 0, d); };
  auto read = [](int a) { return memoryRow(24, a, 0, 0, 1); };
  {
    // A7 never reaches the decoder high: 0x80 lands on cell 0x00. A3 and A4 shorted: both low unless both
    // high.
    VirtualRig r(VirtualRig::chip("6116", {"addr0:7", "addrshort:3,4"}));
    start(r);
    r.run({write(0x00, 0x11), write(0x80, 0x22), write(0x08, 0x33), write(0x18, 0x44)});
    const auto got = r.run({read(0x00), read(0x10), read(0x18)});
    EXPECT_EQ(dataRead(got, 24, 0), 0x33);  // 0x80 -> 0x00, then 0x08 -> 0x00 again
    EXPECT_EQ(dataRead(got, 24, 1), 0x33);  // 0x10 reads cell 0x00 too
    EXPECT_EQ(dataRead(got, 24, 2), 0x44);
  }
  {
    // D2 and D3 bridged: low wins, into the array and out of it.
    VirtualRig r(VirtualRig::chip("6116", {"datashort:2,3"}));
    start(r);
    r.run({write(1, 0x04), write(2, 0x0C)});
    const auto got = r.run({read(1), read(2)});
    EXPECT_EQ(dataRead(got, 24, 0), 0x00);
    EXPECT_EQ(dataRead(got, 24, 1), 0x0C);
  }
  {
    // Bit 4 of 0x1A3 cannot rise; a write changing bit 0 of 0x0F2 inverts bit 0 of 0x0F3.
    VirtualRig r(VirtualRig::chip("6116", {"transition:0x1A3,4", "coupling:0x0F2,0x0F3,0"}));
    start(r);
    r.run({write(0x1A3, 0xFF), write(0x0F3, 0x00), write(0x0F2, 0x01), write(0x0F2, 0x01)});
    auto got = r.run({read(0x1A3), read(0x0F3)});
    EXPECT_EQ(dataRead(got, 24, 0), 0xEF);
    EXPECT_EQ(dataRead(got, 24, 1), 0x01);  // one change of the aggressor, one inversion
    r.run({write(0x1A3, 0x00), write(0x0F2, 0x00)});
    got = r.run({read(0x1A3), read(0x0F3)});
    EXPECT_EQ(dataRead(got, 24, 0), 0x00);  // falling is allowed
    EXPECT_EQ(dataRead(got, 24, 1), 0x00);
  }
  {
    // The ROM reads through the same faulty decoder and bus.
    auto config = VirtualRig::chip("2716", {"addr1:0", "datashort:0,1"});
    VirtualRig r(config);
    start(r);
    EXPECT_EQ(dataRead(r.run({read(0)}), 24, 0), 0xFF);  // erased: both bridged lines high
  }
  virt::BoardConfig c;
  EXPECT_FALSE(
      virt::applySpecs(c, "addr1:10;addrshort:0,10;datashort:6,7;transition:5,7,down;coupling:1,2,3"));
  EXPECT_EQ(c.memory.stuckAddressLines.at(0), (std::pair<int, int>{10, 1}));
  EXPECT_FALSE(c.memory.transitions.at(0).rising);
  EXPECT_EQ(c.memory.couplings.at(0).victim, 2);
  for (const char* bad : {"addr0:11", "addrshort:3,3", "datashort:1,8", "transition:2048,1", "transition:5,8",
                          "transition:5", "coupling:1,1,0", "coupling:1,2", "coupling:1,2,9"})
    EXPECT_TRUE(virt::applySpec(c, bad).has_value()) << bad;
  std::string error;
  EXPECT_EQ(virt::Board::create(VirtualRig::chip("7400", {"addr0:1"}), error), nullptr);
  EXPECT_NE(error.find("memory faults need a memory part"), std::string::npos);
}

TEST(Chips, Counter74161CountsLoadsAndClears) {
  VirtualRig r(VirtualRig::chip("74161"));
  start(r);
  // /CLR 1, CLK 2, A..D 3..6, ENP 7, /LOAD 9, ENT 10; QA..QD on 14..11, RCO 15.
  auto step = [&](int clk, int load = 1, int clear = 1, int data = 0) {
    return r.row({{1, clear},
                  {2, clk},
                  {3, data & 1},
                  {4, (data >> 1) & 1},
                  {5, (data >> 2) & 1},
                  {6, (data >> 3) & 1},
                  {7, 1},
                  {9, load},
                  {10, 1}});
  };
  auto count = [&](const std::vector<uint8_t>& result, int cycle) {
    int q = 0;
    const int pins[4] = {14, 13, 12, 11};
    for (int bit = 0; bit < 4; ++bit)
      if (code(result, 16, cycle, pins[bit]) == 2) q |= 1 << bit;
    return q;
  };
  const auto result = r.run({step(0, 1, 0), step(0), step(1), step(0), step(1), step(0, 0, 1, 14),
                             step(1, 0, 1, 14), step(0), step(1), step(0, 1, 0)});
  EXPECT_EQ(count(result, 0), 0);
  EXPECT_EQ(count(result, 2), 1);
  EXPECT_EQ(count(result, 4), 2);
  EXPECT_EQ(count(result, 6), 14);  // loaded on the edge
  EXPECT_EQ(count(result, 8), 15);
  EXPECT_EQ(code(result, 16, 8, 15), 2);  // ripple carry at 15
  EXPECT_EQ(count(result, 9), 0);         // cleared without a clock
}

TEST(Chips, Transceiver74245PassesTheWayDirSays) {
  VirtualRig r(VirtualRig::chip("74245"));
  start(r);
  // DIR 1, A1 2, B1 18, /OE 19.
  const auto result = r.run({r.row({{1, 1}, {19, 0}, {2, 1}}), r.row({{1, 0}, {19, 0}, {18, 0}}),
                             r.row({{1, 1}, {19, 1}, {2, 1}})});
  EXPECT_EQ(code(result, 20, 0, 18), 2);  // A to B
  EXPECT_EQ(code(result, 20, 1, 2), 1);   // B to A
  EXPECT_EQ(code(result, 20, 2, 18), 4);  // disabled: B floats
}
