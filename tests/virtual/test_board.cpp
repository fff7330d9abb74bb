#include <gtest/gtest.h>

#include <fstream>

#include "recording_operator.h"
#include "virtual_rig.h"

using namespace qel;
using qel::testing::VirtualRig;

namespace {

struct Snapshot {
  std::vector<int32_t> levels, classes;
  bool supplyOk, contactOk;
};

Snapshot levels(VirtualRig& r) {
  Snapshot s;
  s.levels.assign(size_t(r.test.pinCount), -1);
  EXPECT_FALSE(r.link->readLevels(s.levels));
  s.classes.assign(r.link->state().pinPowerClass.begin(),
                   r.link->state().pinPowerClass.begin() + r.test.pinCount);
  s.supplyOk = r.link->supplyOk();
  s.contactOk = r.link->contactOk();
  return s;
}

void initialise(VirtualRig& r) {
  qel::testing::RecordingOperator op;
  ASSERT_EQ(tester::initialiseTester(*r.link, op, r.test, {}), tester::InitOutcome::Ok);
  ASSERT_FALSE(r.link->powerOn());
}

}  // namespace

TEST(VirtualBoard, EveryCommandOfAContactTest) {
  VirtualRig r(VirtualRig::chip("7400"));
  initialise(r);
  const Snapshot s = levels(r);
  EXPECT_EQ(s.levels[6], 55);    // GND at 0 V
  EXPECT_EQ(s.levels[13], 255);  // VCC at 5 V
  EXPECT_EQ(s.levels[0], 111);   // a floating TTL input
  EXPECT_EQ(s.levels[2], 63);    // an output low
  EXPECT_EQ(s.classes[6], 15);
  EXPECT_EQ(s.classes[13], 95);
  EXPECT_EQ(s.classes[0], 0);
  EXPECT_TRUE(s.supplyOk);
  EXPECT_TRUE(s.contactOk);

  std::vector<int32_t> logic(14, -1);
  EXPECT_FALSE(r.link->readLogic(logic));
  EXPECT_EQ(logic[0], 4);   // Z
  EXPECT_EQ(logic[2], 1);   // L
  EXPECT_EQ(logic[13], 2);  // H

  std::vector<int32_t> jumpers(14, -1);
  EXPECT_FALSE(r.link->scanJumpers(jumpers));
  EXPECT_EQ(jumpers, std::vector<int32_t>(14, 0));
  EXPECT_FALSE(r.link->powerOff());
  EXPECT_FALSE(r.link->powerIsOn());
  r.link->parkTester();
  uint32_t waiting = 1;
  r.port->queuedBytes(waiting);
  EXPECT_EQ(waiting, 0u);
  EXPECT_EQ(r.session->device().commands(),
            (std::vector<uint8_t>{0xA1, 0xA2, 0xA3, 0xA6, 0xA4, 0xA7, 0xA8, 0xA9, 0xA5, 0xAC}));
}

TEST(VirtualBoard, ContactSupplyAndScale) {
  {
    VirtualRig r(VirtualRig::chip("7400", {"open:3", "open:5"}));
    initialise(r);
    const Snapshot s = levels(r);
    EXPECT_EQ(s.levels[2], 0);
    EXPECT_EQ(s.classes[2], 175);
    EXPECT_FALSE(s.contactOk);
    EXPECT_TRUE(s.supplyOk);
  }
  {
    VirtualRig r(VirtualRig::chip("7400", {"nosupply"}));
    initialise(r);
    const Snapshot s = levels(r);
    EXPECT_EQ(s.classes[13], 15);  // the supply pin sits at ground potential
    EXPECT_FALSE(s.supplyOk);
    EXPECT_TRUE(s.contactOk);
  }
  {
    VirtualRig r(VirtualRig::chip("7400", {"open:14"}));  // no contact on VCC: no supply either
    initialise(r);
    EXPECT_FALSE(levels(r).supplyOk);
  }
  {
    auto config = VirtualRig::chip("7400");
    config.u0 = 2.0;
    VirtualRig r(config);
    initialise(r);
    EXPECT_EQ(levels(r).levels[6], 73);  // 2 * 256 / 7
  }
}

TEST(VirtualBoard, JumperScanSeesWhatTheBoardIs) {
  VirtualRig r(VirtualRig::chip("7400", {"short:1,2", "short:9,12", "short:10,12", "stuck0:6", "stuck1:11"}));
  initialise(r);
  std::vector<int32_t> outcome(14, -1);
  ASSERT_FALSE(r.link->scanJumpers(outcome));
  EXPECT_EQ(outcome[0], 1);
  EXPECT_EQ(outcome[1], 1);
  EXPECT_EQ(outcome[8], 2);
  EXPECT_EQ(outcome[9], 2);
  EXPECT_EQ(outcome[11], 2);
  EXPECT_EQ(outcome[5], 241);   // cannot go high
  EXPECT_EQ(outcome[10], 240);  // cannot go low
  EXPECT_EQ(outcome[6], 0);     // ground and supply cannot be moved and are not reported
  EXPECT_EQ(outcome[13], 0);
  EXPECT_EQ(outcome[2], 0);

  // Shorted pins follow each other in a run, too.
  const auto result = r.run({r.row({{1, 0}}), r.row({{1, 1}})});
  EXPECT_EQ(result[1], 1);
  EXPECT_EQ(result[14 + 1], 2);
  EXPECT_EQ(result[2], 2);  // 0 NAND 0
  EXPECT_EQ(result[14 + 2], 1);
}

TEST(VirtualBoard, ContentionAndOtherDriversReadUndefined) {
  // The board holds output 3 high while the gate drives it low.
  VirtualRig r(VirtualRig::chip("7400", {"held1:3", "held0:4"}));
  initialise(r);
  const auto result = r.run({r.row({{1, 1}, {2, 1}}), r.row({{1, 0}}), r.row({{4, 1}})});
  EXPECT_EQ(result[2], 4);       // contention
  EXPECT_EQ(result[14 + 2], 2);  // both agree on high
  EXPECT_EQ(result[3], 1);       // held low, nothing else drives it
  EXPECT_EQ(result[28 + 3], 2);  // the tester overdrives a board driver
  std::vector<int32_t> logic(14, 0);
  r.link->readLogic(logic);
  EXPECT_EQ(logic[3], 1);
}

TEST(VirtualBoard, StuckChannelRawRunAndTesterRam) {
  {
    VirtualRig r(VirtualRig::chip("7400", {"channel:0", "free"}));
    initialise(r);
    const auto result = r.run({r.row({{1, 1}, {2, 1}}), r.row({{1, 0}, {2, 0}})});
    EXPECT_EQ(result[0], 1);  // channel 0 always reads low
    EXPECT_EQ(result[1], 2);  // a free channel reads its own drive
    EXPECT_EQ(result[14 + 1], 1);
    EXPECT_EQ(result[4], 1);  // and low when nothing drives it
  }
  {
    VirtualRig r(VirtualRig::chip("7400"));
    initialise(r);
    r.parameters(4);
    std::vector<uint8_t> block(4 * 14, 2);
    block[0] = 1;
    block[14] = 0;
    r.link->composeImage(block);
    tester::RawGrid grid;
    ASSERT_FALSE(r.link->runImageRaw(grid));
    EXPECT_EQ(grid.at(1, 1), '1');  // channel 0, first word of cycle 1
    EXPECT_EQ(grid.at(1, 3), '0');
    EXPECT_EQ(grid.at(1, 9), 0);
  }
  {
    VirtualRig r(VirtualRig::chip("7400", {"ramfault"}));
    qel::testing::RecordingOperator op;
    EXPECT_EQ(tester::initialiseTester(*r.link, op, r.test, {}), tester::InitOutcome::RamFaulty);
    EXPECT_EQ(op.messages().at(0).text, tester::kRamTestFailedText);
  }
}

TEST(VirtualBoard, FaultSpecsAndBoardFile) {
  virt::BoardConfig c;
  EXPECT_FALSE(
      virt::applySpecs(c, "open:3;stuck0:6;short:1,2;cell:0x10=5;rombyte:7=0x80;silent:10;channel:31"));
  EXPECT_TRUE(c.open.count(3));
  EXPECT_EQ(c.shorts.at(0), (std::pair<int, int>{1, 2}));
  EXPECT_EQ(c.memory.stuckCells.at(0), (std::pair<int, uint8_t>{16, 5}));
  EXPECT_EQ(c.memory.romBytes.at(0), (std::pair<int, uint8_t>{7, 0x80}));
  EXPECT_EQ(c.link.silentAfter, 10u);
  for (const char* bad :
       {"open:x", "open:0", "short:3,3", "rombyte:5", "rombyte:9999=1", "channel:32", "bogus", "stray:"})
    EXPECT_TRUE(virt::applySpec(c, bad).has_value()) << bad;

  std::string error;
  c = VirtualRig::chip("7400", {"open:15"});
  EXPECT_EQ(virt::Board::create(c, error), nullptr);
  EXPECT_NE(error.find("pin 15"), std::string::npos);
  c.chip = "4004";
  EXPECT_EQ(virt::Board::create(c, error), nullptr);

  const std::string path = std::string(VIRTUAL_TEST_DIR) + "/board.txt";
  {
    std::ofstream out(path);
    out << "# a flip-flop with a bad pin\nchip 7474\nu0 1.5\nfault open:3\nfault short:1,13\n";
  }
  virt::BoardConfig b;
  EXPECT_FALSE(virt::loadBoardFile(b, path));
  EXPECT_EQ(b.chip, "7474");
  EXPECT_DOUBLE_EQ(b.u0, 1.5);
  EXPECT_TRUE(b.open.count(3));
  {
    std::ofstream out(path);
    out << "chip 7474\nvoltage 3\n";
  }
  const auto bad = virt::loadBoardFile(b, path);
  ASSERT_TRUE(bad.has_value());
  EXPECT_NE(bad->find(":2:"), std::string::npos);
}

TEST(VirtualBoard, ChannelSelfTestPatternWithTheClipFree) {
  VirtualRig r(VirtualRig::chip("7400", {"free", "channel:5"}));
  initialise(r);
  // 32 pins, one per channel, each driven high in row 3c+1 and low in row 3c+2.
  std::vector<int32_t> types(32, 1);
  tester::TestParameters p;
  p.cycleTime = 8;
  p.pinCount = 32;
  p.pinTypeCodes = types;
  p.cycleCount = 100;
  ASSERT_FALSE(r.link->setTestParameters(p));
  std::vector<uint8_t> block(100 * 32, 2);
  for (int c = 0; c < 32; ++c) {
    block[size_t((3 * c + 1) * 32 + c)] = 1;
    block[size_t((3 * c + 2) * 32 + c)] = 0;
  }
  r.link->composeImage(block);
  std::vector<uint8_t> result(block.size(), 5);
  ASSERT_FALSE(r.link->runImage(result));
  std::vector<int> faulty;
  for (int c = 0; c < 32; ++c)
    for (int k = 1; k <= 96; ++k)
      if (result[size_t(k * 32 + c)] != (k == 3 * c + 1 ? 2 : 1)) {
        faulty.push_back(c + 1);
        break;
      }
  // Pin 6 of the 32-pin row sits on channel 5.
  EXPECT_EQ(faulty, std::vector<int>{6});
}
