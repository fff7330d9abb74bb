// The tester's self-checks, the supply commands and the parameters dialog's rules.

#include "engine/parameters.h"
#include "engine_rig.h"
#include "tester/protocol.h"

namespace qel::testing {
namespace {

TEST(ChannelTest, ShortedChannelPinsAreReportedAndPictured) {
  // Only the clip positions on channels 4 and 5 touch anything, and they are wired together.
  std::vector<std::string> faults = {"short:5,6"};
  for (int p = 1; p <= 14; ++p)
    if (p != 5 && p != 6) faults.push_back("open:" + std::to_string(p));
  EngineRig rig(EngineRig::board("7400", faults));
  rig.load("nand7400.qel");
  engine::BenchStaging::testerInitialised(rig.bench);
  EXPECT_EQ(rig.engine->testChannels(), false);
  const auto messages = rig.op.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "Освободите контакты клипсы.");
  EXPECT_EQ(messages[1], (RecordingOperator::Message{"Неисправные каналы(всего 2): 5; 6; ", Icon::Warning}));
  EXPECT_TRUE(rig.bench.channelFault());
  EXPECT_TRUE(rig.bench.testerNotInitialised());
  EXPECT_FALSE(rig.bench.busy());
  // The picture: what was driven, and what came back.
  const TestDescription& t = rig.bench.test;
  EXPECT_EQ(t.pinCount, 32);
  EXPECT_EQ(t.cycleCount, 100);
  EXPECT_EQ(t.level(5, 14), 1);  // row 13 drives channel-pin 5 high
  EXPECT_EQ(t.level(5, 15), 0);
  EXPECT_EQ(t.level(5, 1), 2);
  EXPECT_EQ(t.resultCode(6, 14), kReadHigh);  // its partner follows
  EXPECT_EQ(t.resultCode(7, 14), kReadLow);
  EXPECT_TRUE(rig.bench.testReady());
  EXPECT_EQ(rig.op.runEnds(), (std::vector<RunEnd>{{RunKind::ChannelTest, RunOutcome::ChannelFault, 0}}));
  // Runs refuse until a test is loaded again; the load clears the fault.
  EXPECT_FALSE(rig.engine->startFullTest());
  EXPECT_FALSE(rig.engine->startContactTest());
  rig.load("nand7400.qel");
  EXPECT_FALSE(rig.bench.channelFault());
  EXPECT_TRUE(rig.bench.testerNotInitialised());
  EXPECT_EQ(rig.bench.contacts[0].typeText, "I");
  EXPECT_EQ(rig.bench.contacts[2].typeText, "O");
  // The board still has the clip off most pins: the run starts and finds that.
  EXPECT_EQ(rig.runFull(), engine::Outcome::ContactFault);
}

TEST(Bench, ALoadWaitsForTheRunThatHoldsTheTest) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  engine::BenchStaging::busy(rig.bench, true);
  const auto refused = app::loadTest(rig.bench, std::string(QEL_EXAMPLES_DIR) + "/dff7474.qel", rig.op);
  EXPECT_FALSE(refused.shown);
  EXPECT_EQ(rig.bench.test.pinCount, 14);
  EXPECT_EQ(rig.bench.test.fileName, std::string(QEL_EXAMPLES_DIR) + "/nand7400.qel");
  EXPECT_TRUE(rig.op.events().empty());
}

TEST(ChannelTest, FreeClipPassesAndMissingTesterIsReported) {
  EngineRig rig(EngineRig::board("7400", {"free"}));
  rig.load("nand7400.qel");
  EXPECT_TRUE(rig.engine->runChannelTest(true));
  EXPECT_EQ(rig.op.messages().back().text, "Тестирование ошибок не выявило");
  EXPECT_EQ(rig.bench.test.pinCount, 14);
  EXPECT_FALSE(rig.bench.channelFault());
  EXPECT_EQ(rig.driver->frameCycles.back(), 100);

  EngineRig stuck(EngineRig::board("7400", {"free", "channel:20"}));
  stuck.load("nand7400.qel");
  EXPECT_FALSE(stuck.engine->runChannelTest(true));
  EXPECT_EQ(stuck.op.messages().back().text, "Неисправные каналы(всего 1): 28; ");

  EngineRig absent(EngineRig::board("7400", {"absent"}));
  absent.load("nand7400.qel");
  EXPECT_EQ(absent.engine->testChannels(), std::nullopt);
  EXPECT_EQ(absent.op.messages().back(), (RecordingOperator::Message{"Нет связи с тестером", Icon::Error}));
  EXPECT_FALSE(absent.bench.busy());
}

TEST(RamTest, InitialisesFirstAndReportsTheOutcome) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  EXPECT_EQ(rig.engine->testRam(), true);
  EXPECT_EQ(rig.messageTexts(),
            (std::vector<std::string>{"Инициализация тестера прошла успешно", "ОЗУ тестера исправно"}));
  rig.op.clear();
  rig.engine->testRam();  // initialised now
  EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"ОЗУ тестера исправно"});

  EngineRig faulty(EngineRig::board("7400", {"ramfault"}));
  faulty.load("nand7400.qel");
  EXPECT_EQ(faulty.engine->testRam(), false);  // found by the initialisation
  EXPECT_EQ(
      faulty.op.messages().back().text,
      "Произошла ошибка при попытке диагностики ОЗУ. ОЗУ тестера не исправно. Обратитесь к разработчикам.");
  engine::BenchStaging::testerInitialised(faulty.bench);
  EXPECT_EQ(faulty.engine->testRam(), false);
  EXPECT_EQ(
      faulty.op.messages().back(),
      (RecordingOperator::Message{
          "Произошла ошибка при попытке диагностики ОЗУ. ОЗУ тестера неисправно. Обратитесь к разработчикам",
          Icon::Error}));

  faulty.engine->startRealtimeCheck();
  faulty.op.clear();
  faulty.engine->testRam();
  EXPECT_TRUE(faulty.op.events().empty());
}

TEST(RawReadout, ShowsTheBitsOfTheFirstBlock) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  tester::RawGrid grid;
  rig.engine->rawReadout(grid);
  // Channel 0 carries pin 1, driven low in the first cycle of the test.
  EXPECT_EQ(grid.at(1, 1), '0');
  EXPECT_EQ(grid.at(33 - 1, 8199), 0);
  engine::BenchStaging::busy(rig.bench, true);
  EXPECT_TRUE(rig.engine->rawReadout(grid));
}

TEST(Supply, CommandsSwitchAndRefuseWhileBusy) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  rig.engine->togglePower();
  EXPECT_TRUE(rig.engine->powerOn);
  EXPECT_FALSE(rig.bench.testerNotInitialised());
  rig.engine->powerOnCommand();
  EXPECT_EQ(std::count(rig.commands().begin(), rig.commands().end(), tester::kPowerOn), 1);
  engine::BenchStaging::busy(rig.bench, true);
  rig.engine->powerOffCommand();
  EXPECT_TRUE(rig.engine->powerOn);
  EXPECT_EQ(rig.engine->readPinLevel(7), 0);
  engine::BenchStaging::busy(rig.bench, false);
  rig.engine->togglePower();
  EXPECT_FALSE(rig.engine->powerOn);
  EXPECT_FALSE(rig.session->board().powerSwitch());
}

TEST(Parameters, ThresholdAndLevelConversions) {
  using namespace engine;
  EXPECT_EQ(thresholdText(103), "2,01");
  EXPECT_EQ(thresholdText(41), "0,80");
  EXPECT_EQ(thresholdCode("2,5"), 128);
  EXPECT_EQ(thresholdCode("0.8"), 41);
  EXPECT_EQ(thresholdCode("2"), 103);
  EXPECT_EQ(thresholdCode("2,x"), std::nullopt);
  EXPECT_EQ(thresholdCode(""), std::nullopt);
  EXPECT_EQ(typedThresholdLimit("2,6", false), "2,50");
  EXPECT_EQ(typedThresholdLimit("2,5", false), std::nullopt);
  EXPECT_EQ(typedThresholdLimit("5,1", true), "5,00");
  EXPECT_EQ(levelText(245, 1.375), "4,72");
  EXPECT_EQ(levelText(65, 1.375), "0,24");
  EXPECT_EQ(levelCode("4,72", 1.375, true), 245);
  EXPECT_EQ(levelCode("0,24", 1.375, false), 65);
  EXPECT_EQ(calibratedU0(55), 1.375);
  EXPECT_EQ(calibratedU0(5), std::nullopt);
  EXPECT_EQ(calibratedU0(255), std::nullopt);
}

TEST(Parameters, OkStoresWhatParsesAndCorrectsTheRest) {
  using namespace engine;
  RecordingOperator op;
  TestDescription t;
  Settings s;
  ParameterFields f = showParameters(t, s);
  EXPECT_EQ(f.logicOne, "2,01");
  EXPECT_EQ(f.minSupply, "4,72");
  f.logicOne = "2,5";
  f.logicZero = "0,8";
  f.powerUpDelay = "50";
  f.cycleTime = "x";
  EXPECT_TRUE(applyParameters(f, 1.375, t, s, op));
  EXPECT_EQ(t.levels, 32809);
  EXPECT_EQ(s.powerUpDelay, 300);
  EXPECT_EQ(t.cycleTime, 2);
  EXPECT_EQ(f.cycleTime, "2");

  f.logicOne = "0,5";
  EXPECT_TRUE(applyParameters(f, 1.375, t, s, op));
  EXPECT_EQ(t.levels, 41 + 41 * 256);
  EXPECT_EQ(f.logicOne, "0,80");

  // 5,00 V is 256, which the frame's byte cannot carry.
  f.logicOne = "5,00";
  EXPECT_TRUE(applyParameters(f, 1.375, t, s, op));
  EXPECT_EQ(t.levels >> 8, 255);

  const int32_t before = t.levels;
  f.logicZero = "abc";
  f.minSupply = "1";
  EXPECT_FALSE(applyParameters(f, 1.375, t, s, op));
  EXPECT_EQ(op.messages().back(), (RecordingOperator::Message{"Неверный ввод данных", Icon::Error}));
  EXPECT_EQ(t.levels, before);
  EXPECT_EQ(s.levels.minSupply, 245);

  defaultParameters(t, s);
  EXPECT_EQ(t.levels, 26409);
  EXPECT_EQ(s.levels.maxGround, 65);
}

TEST(Parameters, AutocalibrationReadsTheGroundPin) {
  using namespace engine;
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  Settings& s = rig.engine->settings();
  s.levels.u0 = 2.0;
  ParameterFields f = showParameters(rig.bench.test, s);
  EXPECT_TRUE(autocalibrate(*rig.engine, f, rig.bench.test, s, rig.op));
  EXPECT_EQ(rig.op.messages().front(),
            (RecordingOperator::Message{"Автокалибровка относительно вывода GND (7)", Icon::Information}));
  EXPECT_DOUBLE_EQ(s.levels.u0, 1.375);  // the pin read 55
  EXPECT_FALSE(rig.link->powerIsOn());

  virt::BoardConfig shifted = EngineRig::board("7400");
  shifted.u0 = 1.5;
  EngineRig other(shifted);
  other.load("nand7400.qel");
  ParameterFields g = showParameters(other.bench.test, other.engine->settings());
  autocalibrate(*other.engine, g, other.bench.test, other.engine->settings(), other.op);
  EXPECT_NEAR(other.engine->settings().levels.u0, 59 * 5.0 / 196, 1e-6);

  // No clip contact on the ground pin: U0 stays.
  EngineRig open(EngineRig::board("7400", {"open:7"}));
  open.load("nand7400.qel");
  open.engine->settings().levels.u0 = 1.4;
  ParameterFields h = showParameters(open.bench.test, open.engine->settings());
  autocalibrate(*open.engine, h, open.bench.test, open.engine->settings(), open.op);
  EXPECT_DOUBLE_EQ(open.engine->settings().levels.u0, 1.4);
}

TEST(Parameters, ProgramOptions) {
  EngineRig rig(EngineRig::board("7400"));
  engine::ProgramOptions o;
  o.continueRun = true;
  EXPECT_FALSE(engine::applyProgramOptions(*rig.engine, o));
  EXPECT_TRUE(rig.engine->continueEnabled);
  o.shortTest = false;
  EXPECT_TRUE(engine::applyProgramOptions(*rig.engine, o));
}

}  // namespace
}  // namespace qel::testing
