#include <gtest/gtest.h>

#include "fake_driver.h"
#include "recording_operator.h"
#include "tester/initialise.h"
#include "tester/jumper_scan.h"
#include "tester/tester_link.h"

using namespace qel;
using namespace qel::tester;
using qel::testing::FakeDriver;

namespace {

struct Rig {
  FakeDriver driver;
  ManualClock clock;
  Port port{driver, clock};
  TesterLink link{port, clock};
  std::vector<int32_t> types;
  Rig() { port.openPort(); }

  // Parameters for a package, acknowledged.
  void setPackage(int pins, std::vector<int32_t> codes = {}, int cycles = 100) {
    types = codes.empty() ? std::vector<int32_t>(size_t(pins), 1) : codes;
    TestParameters p;
    p.pinCount = pins;
    p.pinTypeCodes = types;
    p.cycleCount = cycles;
    driver.arrive({0});
    ASSERT_FALSE(link.setTestParameters(p));
  }
};

}  // namespace

TEST(Commands, ParameterFrameOnTheWire) {
  Rig r;
  r.setPackage(16);
  EXPECT_EQ(r.driver.writes.back(), (std::vector<uint8_t>{0xA3, 0x67, 0x29, 0x02, 0x00, 0x64, 0x07, 0xD0}));
  EXPECT_EQ(r.link.state().blockCycles, 100);

  r.setPackage(16, {}, 70000);
  EXPECT_EQ(r.driver.writes.back()[4], 4464 >> 8);
  EXPECT_EQ(r.driver.writes.back()[5], 4464 & 0xFF);
  EXPECT_EQ(r.link.state().blockCycles, 8191);

  // Ground and supply pins: the last of each.
  r.setPackage(14, {1, 1, 10, 1, 1, 1, 10, 2, 2, 2, 2, 2, 15, 15});
  EXPECT_EQ(r.link.state().groundPinIndex, 6);
  EXPECT_EQ(r.link.state().supplyPinIndex, 13);
  EXPECT_EQ(r.link.state().pinTypes[14], 0);

  // No row in the channel map: nothing goes out.
  const size_t before = r.driver.writes.size();
  std::vector<int32_t> forty(40, 1);
  TestParameters p;
  p.pinCount = 40;
  p.pinTypeCodes = forty;
  EXPECT_TRUE(r.link.setTestParameters(p));
  EXPECT_EQ(r.driver.writes.size(), before);
}

TEST(Commands, LevelSnapshotClassesSupplyAndContact) {
  Rig r;
  // 8 pins: 1 NC, 4 GND, 8 VCC.
  r.setPackage(8, {4, 1, 1, 10, 2, 2, 2, 15});
  r.link.state().supplyLow = 245;
  r.link.state().groundLow = 49;
  std::vector<uint8_t> snapshot(32, 0);
  // channels of pins 1..8: 0 1 2 3 19 18 17 16
  snapshot[0] = 0;    // NC without contact: fine
  snapshot[1] = 1;    // no contact
  snapshot[2] = 100;  // none
  snapshot[3] = 55;   // ground
  snapshot[19] = 250;
  snapshot[18] = 65;
  snapshot[17] = 48;
  snapshot[16] = 250;  // VCC
  std::vector<uint8_t> answer = {7, 0};
  answer.insert(answer.end(), snapshot.begin(), snapshot.end());
  r.driver.arrive(answer);
  std::vector<int32_t> levels(8, -1);
  ASSERT_FALSE(r.link.readLevels(levels));
  EXPECT_EQ(r.driver.writes.back(), std::vector<uint8_t>{0xA7});
  EXPECT_EQ(levels, (std::vector<int32_t>{0, 1, 100, 55, 250, 65, 48, 250}));
  const auto& cls = r.link.state().pinPowerClass;
  EXPECT_EQ((std::vector<int32_t>(cls.begin(), cls.begin() + 8)),
            (std::vector<int32_t>{175, 175, 0, 15, 95, 15, 0, 95}));
  EXPECT_TRUE(r.link.supplyOk());
  EXPECT_FALSE(r.link.contactOk());  // pin 2; pin 1 is NC

  // A VCC pin at ground potential fails the supply check.
  snapshot[16] = 55;
  snapshot[1] = 100;
  answer = {0};
  answer.insert(answer.end(), snapshot.begin(), snapshot.end());
  r.driver.arrive(answer);
  ASSERT_FALSE(r.link.readLevels(levels));
  EXPECT_FALSE(r.link.supplyOk());
  EXPECT_TRUE(r.link.contactOk());

  // The logic snapshot per pin; a silent tester leaves the codes 0.
  std::vector<uint8_t> logic(33, 0);
  logic[1] = 2;
  logic[1 + 16] = 4;
  r.driver.arrive(logic);
  std::vector<int32_t> codes(8, -1);
  EXPECT_FALSE(r.link.readLogic(codes));
  EXPECT_EQ(codes[0], 2);
  EXPECT_EQ(codes[7], 4);
  EXPECT_TRUE(r.link.readLogic(codes));
  EXPECT_EQ(codes, std::vector<int32_t>(8, 0));
}

TEST(Commands, JumperScanGroupsAndStuckChannels) {
  // Every channel follows its own drive and nothing else ...
  JumperReadings m{};
  for (int n = 0; n < 32; ++n) {
    m[size_t(n)].fill(4);
    m[size_t(n)][size_t(2 * n + 1)] = 2;
    m[size_t(n)][size_t(2 * n + 2)] = 1;
  }
  auto follow = [&](int a, int b) {  // b follows a when a is driven, and back
    m[size_t(b)][size_t(2 * a + 1)] = 2;
    m[size_t(b)][size_t(2 * a + 2)] = 1;
    m[size_t(a)][size_t(2 * b + 1)] = 2;
    m[size_t(a)][size_t(2 * b + 2)] = 1;
  };
  follow(3, 7);
  follow(3, 9);
  follow(7, 9);  // a third channel following both joins the lower one's group
  follow(20, 21);
  // ... except two channels that read high at every reading,
  m[size_t(12)].fill(2);
  m[size_t(13)].fill(2);
  // and a GND channel that cannot be moved.
  m[size_t(30)].fill(1);
  std::array<bool, 32> power{};
  power[30] = true;
  const auto out = analyseJumpers(m, power);
  EXPECT_EQ(out[3], 1);
  EXPECT_EQ(out[7], 1);
  EXPECT_EQ(out[9], 1);
  EXPECT_EQ(out[20], 2);
  EXPECT_EQ(out[21], 2);
  EXPECT_EQ(out[12], 240);
  EXPECT_EQ(out[13], 240);
  EXPECT_EQ(out[30], 0);
  EXPECT_EQ(out[0], 0);
  // Stuck low only: does not go high.
  m[size_t(5)].fill(1);
  EXPECT_EQ(analyseJumpers(m, power)[5], 241);
}

TEST(Commands, ImageCompositionAndBlockRun) {
  Rig r;
  r.setPackage(14, {}, 3);
  // Pin 1 (channel 0): 1, 2, 2. Pin 14 (channel 16): 0, 1, 2.
  std::vector<uint8_t> block(3 * 14, 2);
  block[0] = 1;
  block[13] = 0;
  block[14 + 13] = 1;
  EXPECT_EQ(r.link.composeImage(block), 3);
  EXPECT_EQ(r.link.driveMask(0, 0), 1);
  EXPECT_EQ(r.link.stimulus(0, 0), 1);
  EXPECT_EQ(r.link.driveMask(0, 1), 0);
  EXPECT_EQ(r.link.stimulus(0, 1), 1);  // keeps its level, undriven
  EXPECT_EQ(r.link.stimulus(0, 2), 0);
  EXPECT_EQ(r.link.driveMask(1, 0), 1);
  EXPECT_EQ(r.link.stimulus(1, 0), 0);
  EXPECT_EQ(r.link.stimulus(1, 1), 1);
  EXPECT_EQ(r.link.stimulus(1, 2), 1);
  EXPECT_EQ(r.link.driveMask(1, 2), 0);

  // The run: purge, code, one write of the full image, then one pair per cycle and bank.
  std::vector<uint8_t> answers = {0};
  for (int bank = 0; bank < 2; ++bank)
    for (int j = 0; j < 3; ++j) {
      const uint16_t first = bank == 0 ? 0x0001 : 0x0000,
                     second = bank == 0 ? 0x0001 : uint16_t(j == 1 ? 1 : 0);
      answers.insert(answers.end(),
                     {uint8_t(first >> 8), uint8_t(first), uint8_t(second >> 8), uint8_t(second)});
    }
  r.driver.onWrite = [&](const std::vector<uint8_t>& w) {
    if (w.size() == kImageSize) r.driver.arrive(answers);
  };
  std::vector<uint8_t> result(3 * 14, 9);
  ASSERT_FALSE(r.link.runImage(result));
  const auto& w = r.driver.writes;
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[w.size() - 2], std::vector<uint8_t>{0xAB});
  ASSERT_EQ(w.back().size(), 65528u);
  EXPECT_EQ((std::vector<uint8_t>(w.back().begin(), w.back().begin() + 8)),
            (std::vector<uint8_t>{0x00, 0x01, 0xFF, 0xFE, 0x00, 0x01, 0xFF, 0xFF}));
  EXPECT_EQ((std::vector<uint8_t>(w.back().end() - 4, w.back().end())),
            (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}));
  EXPECT_EQ(result[0], 2);        // pin 1 high in cycle 1
  EXPECT_EQ(result[13], 1);       // pin 14 low
  EXPECT_EQ(result[14 + 13], 4);  // samples differ: undefined
  EXPECT_EQ(result[1], 1);
  EXPECT_EQ(r.driver.purges, 2);

  // The answers stop half way: failure, after the answer limit, without a hang.
  answers.resize(1 + 4 * 4);
  const int64_t before = r.clock.sleptMs();
  EXPECT_TRUE(r.link.runImage(result));
  EXPECT_EQ(r.clock.sleptMs() - before, 10000);
}

TEST(Initialise, SequenceMessagesAndRefusals) {
  TestDescription test;
  test.pinCount = 14;
  test.cycleCount = 100;
  test.computeTypeCodes();
  for (auto outcome : {0, 1, 2, 3}) {
    Rig r;
    r.port.closePort();
    qel::testing::RecordingOperator op;
    // Answers: reset, RAM test, parameters, verify.
    r.driver.onWrite = [&, n = 0](const std::vector<uint8_t>&) mutable {
      const bool fail = (outcome == 1 && n == 0) || (outcome == 2 && n == 1) || (outcome == 3 && n == 3);
      r.driver.arrive({uint8_t(fail ? 1 : 0)});
      ++n;
    };
    const InitOutcome got = initialiseTester(r.link, op, test, {});
    const std::vector<std::string> logs = op.lines("log ");
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0], kConnectedText);
    if (outcome == 0) {
      EXPECT_EQ(got, InitOutcome::Ok);
      EXPECT_TRUE(op.messages().empty());
      ASSERT_EQ(r.driver.writes.size(), 4u);
      EXPECT_EQ(r.driver.writes[3], std::vector<uint8_t>{0xA6});
    } else if (outcome == 1) {
      EXPECT_EQ(got, InitOutcome::ResetFailed);
      EXPECT_EQ(op.messages().at(0),
                (qel::testing::RecordingOperator::Message{kResetFailedText, Icon::Warning}));
    } else if (outcome == 2) {
      EXPECT_EQ(got, InitOutcome::RamFaulty);
      EXPECT_EQ(op.messages().at(0).text, kRamTestFailedText);
    } else {
      EXPECT_EQ(got, InitOutcome::VerifyFailed);
      EXPECT_EQ(op.messages().at(0),
                (qel::testing::RecordingOperator::Message{kVerifyFailedText, Icon::Error}));
    }
  }
  {
    Rig r;
    r.port.closePort();
    r.driver.openStatus = 2;
    qel::testing::RecordingOperator op;
    int raised = 0;
    EXPECT_EQ(initialiseTester(r.link, op, test, {}, [&](int code) { raised = code; }), InitOutcome::NoLink);
    EXPECT_EQ(op.messages().at(0), (qel::testing::RecordingOperator::Message{kNoLinkText, Icon::Error}));
    EXPECT_EQ(raised, 0);
  }
  {
    Rig r;
    r.port.closePort();
    qel::testing::RecordingOperator op;
    test.pinCount = 40;
    EXPECT_EQ(initialiseTester(r.link, op, test, {}), InitOutcome::PackageRefused);
    EXPECT_EQ(op.messages().at(0).icon, Icon::Error);
    EXPECT_NE(op.messages().at(0).text.find("40"), std::string::npos);
    EXPECT_EQ(r.driver.opens, 1);  // only the rig's own open
    EXPECT_TRUE(r.driver.writes.empty());
  }
}
