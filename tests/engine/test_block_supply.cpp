// The supply between the blocks of a long test: a good chip keeps what it holds from one block to
// the next, and only a board that fights the tester's drivers has its supply switched off there.

#include <cstddef>

#include "algorithms/expansion.h"
#include "engine_rig.h"
#include "tester/protocol.h"

namespace qel::testing {
namespace {

using engine::Outcome;

constexpr const char* kKept =
    "Питание между блоками не отключается: микросхема сохраняет состояние (ОЗУ, счетчики) от блока к блоку";

// Supply-off commands sent between the first and the last block run.
std::ptrdiff_t offsBetweenBlocks(EngineRig& rig) {
  const auto& c = rig.commands();
  const auto first = std::find(c.begin(), c.end(), tester::kRunImage);
  const auto last = std::find(c.rbegin(), c.rend(), tester::kRunImage).base();
  return first < last ? std::count(first, last, tester::kPowerOff) : 0;
}

// The counter example with its loop repeated 800 times: 25,602 cycles, four blocks.
void loadLongCounter(EngineRig& rig) {
  rig.load("counter_cyclic.qel");
  rig.bench.test.algorithms.cyclic.repeatCount = 800;
  algorithms::expandCyclic(rig.bench.test, rig.op, {});
  ASSERT_EQ(rig.bench.test.cycleCount, 25'602);
  rig.op.clear();
}

TEST(BlockSupply, GoodChipsKeepTheirStateAcrossBlocksWithDefaultSettings) {
  {
    EngineRig rig(EngineRig::board("6116"));
    ASSERT_TRUE(rig.engine->settings().options.vccOff);
    rig.loadOptions.expansion.compressedRamTest = false;
    rig.load("sram6116_ram.qel");
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(rig.driver->frameCycles, (std::vector<int>{16'700, 8191, 8191, 318}));
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    EXPECT_EQ(offsBetweenBlocks(rig), 0);
    const auto log = rig.op.lines("progress log ");
    EXPECT_EQ(std::count(log.begin(), log.end(), kKept), 1);
    EXPECT_FALSE(rig.session->board().powerSwitch());  // off at the end all the same
  }
  {
    EngineRig rig(EngineRig::board("74161"));
    loadLongCounter(rig);
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(rig.driver->frameCycles.size(), 5u);
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    EXPECT_EQ(offsBetweenBlocks(rig), 0);
  }
  {
    // With "VCCOff" cleared there is nothing to say: the supply simply stays on.
    EngineRig rig(EngineRig::board("74161"));
    rig.engine->settings().options.vccOff = false;
    loadLongCounter(rig);
    EXPECT_EQ(rig.runFull(), Outcome::Finished);
    EXPECT_EQ(rig.bench.errors.errorCount, 0);
    const auto log = rig.op.lines("progress log ");
    EXPECT_EQ(std::count(log.begin(), log.end(), kKept), 0);
  }
}

TEST(BlockSupply, ABoardThatFightsTheTesterHasItsSupplyOffBetweenBlocks) {
  // Without the contact stage nothing marks the stuck ENP, so the tester drives it against the short.
  EngineRig rig(EngineRig::board("74161", {"stuck0:7"}));
  loadLongCounter(rig);
  engine::BenchStaging::busy(rig.bench, true);
  rig.engine->contactFirst = false;
  rig.engine->runFullTest();
  engine::BenchStaging::busy(rig.bench, false);
  EXPECT_EQ(rig.engine->lastOutcome(), Outcome::Finished);
  EXPECT_EQ(offsBetweenBlocks(rig), 3);
  const auto log = rig.op.lines("progress log ");
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       "Питание отключено после блока 2: тестер не удержал уровни на выводах 7; состояние "
                       "микросхемы (ОЗУ, счетчики) в следующем блоке потеряно"),
            1);
  EXPECT_EQ(std::count(log.begin(), log.end(), kKept), 0);
  EXPECT_GT(rig.bench.errors.errorCount, 0);
}

}  // namespace
}  // namespace qel::testing
