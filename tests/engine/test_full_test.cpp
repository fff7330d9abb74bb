// The full test against the virtual tester: good chips pass, faults are found where they show,
// long tests run in blocks, failures end clean, cancel leaves the port to one thread.

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>

#include "engine/parameters.h"
#include "engine/stimulus.h"
#include "engine_rig.h"
#include "nand_test.h"
#include "tester/protocol.h"

namespace qel::testing {
namespace {

using engine::Outcome;

std::set<int> errorCycles(const engine::Bench& bench) {
  return {bench.errors.errorCycles.begin(), bench.errors.errorCycles.end()};
}

// Cycles in which a pin is expected at a level.
std::set<int> cyclesExpecting(const TestDescription& t, int pin, uint8_t level) {
  std::set<int> out;
  for (int c = 1; c <= t.cycleCount; ++c)
    if (t.level(pin, c) == level) out.insert(c);
  EXPECT_FALSE(out.empty()) << "pin " << pin << " never expected at " << int(level);
  EXPECT_LT(out.size(), size_t(t.cycleCount));
  return out;
}

void expectCleanEnd(EngineRig& rig) {
  EXPECT_FALSE(rig.bench.busy());
  EXPECT_FALSE(rig.engine->running());
  EXPECT_FALSE(rig.link->powerIsOn());
  EXPECT_FALSE(rig.session->board().powerSwitch());
}

struct Example {
  std::string file;
  std::string chip;
};

TEST(FullTest, GoodChipOfEveryExamplePasses) {
  std::vector<Example> examples = {
      {"nand7400.qel", "7400"}, {"nand7400_soic.qel", "7400"}, {"dff7474.qel", "7474"}};
  for (const auto& entry : std::filesystem::directory_iterator(QEL_EXAMPLES_DIR)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".qel")) continue;
    if (name.rfind("eprom2716_", 0) == 0) examples.push_back({name, "2716"});
    if (name.rfind("sram6116_", 0) == 0) examples.push_back({name, "6116"});
    if (name.rfind("counter", 0) == 0) examples.push_back({name, "74161"});
    if (name.rfind("transceiver245", 0) == 0) examples.push_back({name, "74245"});
  }
  for (const auto& [file, chip] : examples) {
    SCOPED_TRACE(file);
    virt::BoardConfig config = EngineRig::board(chip);
    // The EPROM holds the bytes of the ROM test's data file.
    if (chip == "2716") {
      EngineRig probe(config);
      probe.load(file);
      std::filesystem::path data = probe.bench.test.algorithms.rom.dataFileName;
      if (data.is_relative()) data = std::filesystem::path(QEL_EXAMPLES_DIR) / data;
      config.romFile = data.string();
    }
    EngineRig rig(config);
    rig.load(file);
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_GT(rig.bench.test.cycleCount, 0);
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    EXPECT_EQ(rig.bench.errors.mismatchCount, 0);
    EXPECT_TRUE(rig.messageTexts().empty());
    expectCleanEnd(rig);
    // Told to the window, which then shows the result.
    EXPECT_EQ(rig.op.runEnds(), (std::vector<RunEnd>{{RunKind::Full, RunOutcome::Finished, 0}}));
    const auto progress = rig.op.lines("progress log ");
    EXPECT_NE(std::find(progress.begin(), progress.end(), "Всего найдено ошибок: 0"), progress.end());
  }
}

TEST(FullTest, InjectedFaultsAreFoundAtTheCyclesWhereTheyShow) {
  // A board driver holding the output low fights the chip whenever the output should be high.
  {
    EngineRig rig(EngineRig::board("7400", {"held0:3"}));
    rig.load("nand7400.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(errorCycles(rig.bench), cyclesExpecting(rig.bench.test, 3, 1));
    EXPECT_EQ(rig.bench.errors.mismatchCount, 0);  // only an output disagrees
    expectCleanEnd(rig);
  }
  {
    EngineRig rig(EngineRig::board("7400", {"held1:11"}));
    rig.load("nand7400.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(errorCycles(rig.bench), cyclesExpecting(rig.bench.test, 11, 0));
  }
  {
    EngineRig rig(EngineRig::board("7474", {"held0:5"}));
    rig.load("dff7474.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(errorCycles(rig.bench), cyclesExpecting(rig.bench.test, 5, 1));
  }
  {
    // The counter's QA against a board driver holding it low.
    EngineRig rig(EngineRig::board("74161", {"held0:14"}));
    rig.load("counter161_radix10.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(errorCycles(rig.bench), cyclesExpecting(rig.bench.test, 14, 1));
  }
  {
    // A stuck output cannot be moved high by the tester: marked "!H", and every cycle expecting
    // it low is left undriven, so the fault shows wherever the pin has an expectation.
    EngineRig rig(EngineRig::board("7400", {"stuck0:6"}));
    rig.load("nand7400.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(rig.bench.contacts[5].mark, "!H");
    std::set<int> expected = cyclesExpecting(rig.bench.test, 6, 1);
    for (int c : cyclesExpecting(rig.bench.test, 6, 0)) expected.insert(c);
    EXPECT_EQ(errorCycles(rig.bench), expected);
  }
}

TEST(FullTest, LongTestsRunInBlocksOf8191) {
  {
    EngineRig rig(EngineRig::board("7400"));
    buildNandTest(rig.bench.test, 20000);
    rig.place();
    // A block's results are stored while the next one is on the link; a block counts as done
    // only once they are in, so a window redrawn then shows them.
    std::vector<int> storedAtDone;
    rig.op.onBlockDone = [&](int, int) {
      std::lock_guard lock(rig.bench.dataMutex);
      const TestDescription& t = rig.bench.test;
      int stored = 0;
      for (int c = 1; c <= t.cycleCount && t.resultCode(3, c) != kNotMeasured; ++c) stored = c;
      storedAtDone.push_back(stored);
    };
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(storedAtDone, (std::vector<int>{0, 8191, 16382, 20000}));
    // The initialisation carries the whole test, then one frame per block.
    EXPECT_EQ(rig.driver->frameCycles, (std::vector<int>{20000, 8191, 8191, 3618}));
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    for (int c : {1, 8191, 8192, 16382, 16383, 20000})
      for (int pin : {1, 3, 8, 11}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(rig.bench.test.resultCode(pin, c), rig.bench.test.level(pin, c) + 1);
      }
    const auto log = rig.op.lines("progress log ");
    EXPECT_EQ(std::count(log.begin(), log.end(), "БлокДанных №3"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "БлокДанных №4"), 0);
    // Reported before the first block and after each, so that the window can follow.
    EXPECT_EQ(rig.op.blocksDone(), (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    expectCleanEnd(rig);
    // Each block is composed while the one before it is on the link: every image must still be
    // its own block's, in order.
    ASSERT_EQ(rig.driver->images.size(), 3u);
    tester::LinkState state = rig.link->state();
    state.blockCycles = tester::kMaxBlockCycles;
    for (int n = 0; n < 3; ++n) {
      std::vector<uint8_t> data;
      engine::deriveStimulus(rig.bench.test, rig.bench.contacts, data, n, true);
      tester::BlockImage image;
      tester::composeBlockImage(state, data, image);
      EXPECT_TRUE(rig.driver->images[size_t(n)] == image.bytes) << "block " << n + 1;
    }
  }
  {
    EngineRig rig(EngineRig::board("7400"));
    buildNandTest(rig.bench.test, 8191);
    rig.place();
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(rig.driver->frameCycles, (std::vector<int>{8191, 8191, 0}));
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    EXPECT_EQ(rig.bench.test.resultCode(3, 8191), rig.bench.test.level(3, 8191) + 1);
    EXPECT_EQ(std::count(rig.commands().begin(), rig.commands().end(), tester::kRunImage), 2);
  }
}

TEST(FullTest, FailuresEndWithTheirMessageAndACleanState) {
  {
    EngineRig rig(EngineRig::board("7400", {"absent"}));
    rig.load("nand7400.qel");
    EXPECT_EQ(rig.runFull(), Outcome::InitFailed);
    EXPECT_EQ(rig.messageTexts(), std::vector<std::string>{"Нет связи с тестером"});
    EXPECT_FALSE(rig.bench.busy());
  }
  {
    // Contact and supply faults: the question, then no blocks.
    EngineRig rig(EngineRig::board("7400", {"open:1", "nosupply"}));
    rig.load("nand7400.qel");
    EXPECT_EQ(rig.runFull(), Outcome::ContactFault);
    EXPECT_EQ(std::count(rig.commands().begin(), rig.commands().end(), tester::kRunImage), 0);
    expectCleanEnd(rig);
  }
  {
    // The tester goes quiet in the middle of the block's answers.
    EngineRig rig(EngineRig::board("7400"));
    buildNandTest(rig.bench.test, 3000);
    rig.place();
    // Contact stage and initialisation take well under 2000 bytes; the block's answers 24,000.
    virt::BoardConfig config = EngineRig::board("7400", {"silent:6000"});
    EngineRig quiet(config);
    buildNandTest(quiet.bench.test, 3000);
    quiet.place();
    EXPECT_EQ(quiet.runFull(), Outcome::DataError);
    // The supply-off went unanswered as well: the supply may still be on, and the user is told.
    EXPECT_EQ(quiet.messageTexts(),
              (std::vector<std::string>{"Ошибка съема данных", engine::kSupplyMayBeOnText}));
    const auto log = quiet.op.lines("progress log ");
    EXPECT_EQ(log.at(log.size() - 2), "Ошибка тестирования");
    EXPECT_EQ(log.back(), engine::kSupplyMayBeOnText);
    EXPECT_EQ(quiet.engine->supplyState(), tester::SupplyState::Unknown);
    EXPECT_FALSE(quiet.bench.busy());
    EXPECT_EQ(quiet.bench.test.resultCode(3, 1), kNotMeasured);
  }
  {
    // A full test refuses while another run is busy, and while the channels are faulty.
    EngineRig rig(EngineRig::board("7400"));
    rig.load("nand7400.qel");
    engine::BenchStaging::busy(rig.bench, true);
    EXPECT_FALSE(rig.engine->startFullTest());
    engine::BenchStaging::busy(rig.bench, false);
    engine::BenchStaging::channelFault(rig.bench);
    EXPECT_FALSE(rig.engine->startFullTest());
    EXPECT_TRUE(rig.commands().empty());
  }
}

TEST(FullTest, CancelInsideATesterWaitLetsTheWorkerLeaveFirst) {
  // Paced like real hardware, so the worker waits for the block's answers.
  virt::BoardConfig config = EngineRig::board("7400");
  config.bytesPerSecond = 1'000'000;
  EngineRig rig(config);
  buildNandTest(rig.bench.test, 5000);
  rig.place();
  ASSERT_TRUE(rig.startFullHeldInBlock());
  const size_t before = rig.commands().size();

  EXPECT_TRUE(rig.engine->cancel());
  EXPECT_FALSE(rig.engine->running());
  EXPECT_EQ(rig.engine->lastOutcome(), Outcome::Cancelled);
  // After the worker: supply off, then the reset, both acknowledged.
  const std::vector<uint8_t> after(rig.commands().begin() + long(before), rig.commands().end());
  EXPECT_EQ(after, (std::vector<uint8_t>{tester::kPowerOff, tester::kResetTester}));
  EXPECT_FALSE(rig.link->powerIsOn());
  EXPECT_FALSE(rig.bench.busy());
  EXPECT_TRUE(rig.bench.testerNotInitialised());
  EXPECT_TRUE(rig.messageTexts().empty());  // a cancelled wait is no data error
  EXPECT_EQ(rig.bench.test.resultCode(3, 1), kNotMeasured);
}

TEST(FullTest, CancelRightAfterTheLaunchIsNotLost) {
  EngineRig rig(EngineRig::board("7400"));
  buildNandTest(rig.bench.test, 60000);
  rig.place();
  ASSERT_TRUE(rig.engine->startFullTest());
  EXPECT_TRUE(rig.engine->cancel());
  EXPECT_EQ(rig.engine->lastOutcome(), Outcome::Cancelled);
  EXPECT_EQ(rig.bench.test.resultCode(3, 60000), kNotMeasured);
  EXPECT_FALSE(rig.bench.busy());
}

TEST(FullTest, SettingsChangedDuringARunApplyToTheNextRun) {
  EngineRig rig(EngineRig::board("7400"));
  buildNandTest(rig.bench.test, 9000);  // two blocks
  rig.place();
  auto powerOffs = [&rig](size_t from) {
    return std::count(rig.commands().begin() + long(from), rig.commands().end(), tester::kPowerOff);
  };
  // The worker is held at its first line until the dialogs have stored their values.
  std::mutex mutex;
  std::condition_variable stored;
  bool done = false;
  rig.op.onEvent = [&](const std::string& event) {
    if (event != "progress log Начало тестирования") return;
    std::unique_lock lock(mutex);
    stored.wait(lock, [&] { return done; });
  };
  ASSERT_TRUE(rig.engine->startFullTest());
  engine::ProgramOptions options = rig.engine->settings().options;
  options.vccOff = false;
  engine::applyProgramOptions(*rig.engine, options);
  rig.engine->settings().levels.minSupply = 200;
  {
    std::lock_guard lock(mutex);
    done = true;
  }
  stored.notify_all();
  rig.engine->wait();
  rig.op.onEvent = nullptr;
  EXPECT_EQ(rig.engine->lastOutcome(), Outcome::Finished);
  // Launched with "VCCOff": the supply kept between the blocks is said, and it goes off after the
  // last block as well as before the first and at the end.
  const std::string kept =
      "Питание между блоками не отключается: микросхема сохраняет состояние (ОЗУ, счетчики) от блока к блоку";
  auto keptSaid = [&rig, &kept] {
    const auto log = rig.op.lines("progress log ");
    return std::count(log.begin(), log.end(), kept);
  };
  EXPECT_EQ(keptSaid(), 1);
  EXPECT_EQ(powerOffs(0), 3);
  EXPECT_EQ(rig.link->state().supplyLow, LevelThresholds::kDefaultMinSupply);

  const size_t before = rig.commands().size();
  EXPECT_EQ(rig.runFull(), Outcome::Finished);
  EXPECT_EQ(keptSaid(), 1);
  EXPECT_EQ(powerOffs(before), 2);
  EXPECT_EQ(rig.link->state().supplyLow, 200);

  // Stored again and again while the worker runs its blocks, as a dialog's OK may come at any
  // moment: under the thread sanitizer a run that read the live settings would show here.
  EngineRig busy(EngineRig::board("7400"));
  buildNandTest(busy.bench.test, 20000);
  busy.place();
  ASSERT_TRUE(busy.engine->startFullTest());
  for (int i = 0; busy.engine->running(); ++i) {
    options.vccOff = i % 2 == 0;
    engine::applyProgramOptions(*busy.engine, options);
    busy.engine->settings().levels.minSupply = 200 + i % 40;
  }
  busy.engine->wait();
  EXPECT_EQ(busy.engine->lastOutcome(), Outcome::Finished);
}

TEST(FullTest, ShutdownParksTheTesterAndSwitchesTheSupplyOff) {
  virt::BoardConfig config = EngineRig::board("7400");
  config.bytesPerSecond = 1'000'000;  // acknowledgements take a poll to arrive
  EngineRig rig(config);
  rig.load("nand7400.qel");
  rig.engine->togglePower();
  ASSERT_TRUE(rig.link->powerIsOn());
  rig.engine->stopRequested = true;  // a stop left over from a run
  rig.engine->shutdown();
  EXPECT_FALSE(rig.link->powerIsOn());
  const auto& c = rig.commands();
  ASSERT_GE(c.size(), 2u);
  EXPECT_EQ(c[c.size() - 2], tester::kParkTester);
  EXPECT_EQ(c.back(), tester::kPowerOff);
  EXPECT_FALSE(rig.port->isOpen());
}

TEST(Analyser, CapturesWithNothingDrivenAndNoComparison) {
  {
    EngineRig rig(EngineRig::board("7400"));
    rig.load("nand7400.qel");
    const int cycles = rig.bench.test.cycleCount;
    EXPECT_FALSE(rig.engine->startAnalyser(std::nullopt));
    EXPECT_FALSE(rig.bench.busy());
    EXPECT_EQ(rig.bench.test.cycleCount, cycles);
    EXPECT_TRUE(rig.commands().empty());
  }
  EngineRig rig(EngineRig::board("7400", {"held1:1", "held1:2"}));
  rig.load("nand7400.qel");
  ASSERT_TRUE(rig.engine->startAnalyser(std::string("8190")));
  rig.engine->wait();
  EXPECT_EQ(rig.engine->lastOutcome(), Outcome::Finished);
  EXPECT_EQ(rig.driver->frameCycles, (std::vector<int>{8190, 8190}));
  EXPECT_EQ(rig.bench.test.cycleCount, 8190);
  EXPECT_TRUE(rig.bench.analyserView());
  // Inputs held high by the board: the gate's output is low; the other gates' inputs float.
  EXPECT_EQ(rig.bench.test.resultCode(1, 8190), kReadHigh);
  EXPECT_EQ(rig.bench.test.resultCode(3, 8190), kReadLow);
  EXPECT_EQ(rig.bench.test.resultCode(4, 1), kReadOther4);
  const auto log = rig.op.lines("log ");
  EXPECT_EQ(
      std::count(log.begin(), log.end(), "Проверка совпадения полученных и исходных данных(ControlTest)"), 0);
  expectCleanEnd(rig);
}

}  // namespace
}  // namespace qel::testing

namespace qel::testing {
namespace {

// Value of a data word in a cycle from the reference levels, least significant pin first.
int wordValue(const TestDescription& t, int word, int cycle) {
  int v = 0;
  const DataWord& w = t.words[size_t(word)];
  for (int slot = 1, bit = 0; slot <= kWordSlots && w.pins[size_t(slot)] > 0; ++slot, ++bit)
    if (t.level(w.pins[size_t(slot)], cycle) == 1) v |= 1 << bit;
  return v;
}

TEST(FullTest, MemoryFaultsShowWhereTheirAddressIsRead) {
  for (const auto& entry : std::filesystem::directory_iterator(QEL_EXAMPLES_DIR)) {
    const std::string name = entry.path().filename().string();
    const bool rom = name.rfind("eprom2716_", 0) == 0, ram = name.rfind("sram6116_", 0) == 0;
    if (!name.ends_with(".qel") || (!rom && !ram)) continue;
    SCOPED_TRACE(name);
    // The compressed RAM test walks its data patterns through address 0.
    const int address = rom ? 5 : 0;
    virt::BoardConfig config = EngineRig::board(rom ? "2716" : "6116", {rom ? "rombyte:5=90" : "cell:0=165"});
    EngineRig probe(config);
    probe.load(name);
    if (rom) {
      std::filesystem::path data = probe.bench.test.algorithms.rom.dataFileName;
      if (data.is_relative()) data = std::filesystem::path(QEL_EXAMPLES_DIR) / data;
      config.romFile = data.string();
    }
    EngineRig rig(config);
    rig.load(name);
    EXPECT_EQ(rig.runFull(), engine::Outcome::Finished);
    const auto& t = rig.bench.test;
    const int word = rom ? t.algorithms.rom.addressWord : t.algorithms.ram.readAddressWord;
    ASSERT_GT(rig.bench.errors.errorCount, 0);
    for (int c : rig.bench.errors.errorCycles) EXPECT_EQ(wordValue(t, word, c), address) << "cycle " << c;
  }
}

}  // namespace
}  // namespace qel::testing
