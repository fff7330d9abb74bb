#include <gtest/gtest.h>

#include <algorithm>

#include "coverage/coverage_totals.h"
#include "coverage/fault_hints.h"
#include "coverage/fault_list.h"
#include "coverage/fault_simulation.h"
#include "engine_rig.h"
#include "virtual/chip_model.h"

using namespace qel;
using qel::testing::EngineRig;

namespace {

// The first error cycle of a real full test on the virtual tester, through the protocol; 0 none.
int realFirstError(const std::string& example, virt::BoardConfig board) {
  EngineRig rig(board);
  rig.load(example);
  EXPECT_EQ(rig.runFull(), engine::Outcome::Finished) << example;
  const auto& cycles = rig.bench.errors.errorCycles;
  return cycles.empty() ? 0 : cycles.front();
}

virt::BoardConfig boardOf(const std::string& part) {
  virt::BoardConfig c;
  c.chip = part;
  if (part == "2716") c.romFile = std::string(QEL_EXAMPLES_DIR) + "/eprom2716.dat";
  return c;
}

}  // namespace

TEST(FaultSimulation, FindsEachFaultAtTheCycleARealRunFindsIt) {
  const struct {
    const char* example;
    const char* part;
    std::vector<std::string> faults;
  } samples[] = {
      {"nand7400.qel", "7400", {"in0:1", "in1:13", "out0:11", "out1:3", "bridge:3,4", "bridge:1,2"}},
      {"dff7474.qel", "7474", {"in1:1", "in0:3", "out1:9", "bridge:12,13"}},
      {"counter_cyclic.qel", "74161", {"in1:9", "in0:2", "out0:14", "bridge:1,2"}},
      {"sram6116_ram.qel", "6116", {"addr0:0", "datashort:3,4", "transition:0,0,up", "in1:18"}},
      // Two blocks: 8192 cycles, the last in a block of its own.
      {"eprom2716_rom.qel", "2716", {"addr1:10", "out0:9", "in0:21", "addrshort:0,1"}},
      // Five blocks; these show in the second, third and fifth.
      {"sram6116_march.qel", "6116", {"addr0:10", "transition:2047,7,down", "addrshort:0,1", "in0:18"}},
  };
  bool foundInSecondBlock = false;
  for (const auto& s : samples) {
    EngineRig loaded(boardOf(s.part));
    loaded.load(s.example);
    const coverage::FaultSimulator simulator(loaded.bench.test, boardOf(s.part));
    std::string error;
    ASSERT_EQ(simulator.firstError("", error), 0) << s.example << ": " << error;
    for (const auto& fault : s.faults) {
      virt::BoardConfig faulty = boardOf(s.part);
      ASSERT_FALSE(virt::applySpec(faulty, fault));
      const int simulated = simulator.firstError(fault, error);
      EXPECT_EQ(simulated, realFirstError(s.example, faulty)) << s.example << " " << fault;
      foundInSecondBlock |= simulated > tester::kMaxBlockCycles;
    }
    // Blocks derived by the workers as they go give what blocks derived once give.
    const coverage::FaultSimulator deriving(loaded.bench.test, boardOf(s.part), 0);
    EXPECT_EQ(deriving.firstError(s.faults.front(), error), simulator.firstError(s.faults.front(), error));
    // The workers give what one simulation gives.
    const auto outcomes = simulator.grade(s.faults, {}, nullptr, 2);
    ASSERT_EQ(outcomes.size(), s.faults.size());
    for (const auto& o : outcomes) {
      EXPECT_EQ(o.firstCycle, simulator.firstError(o.fault, error)) << o.fault;
      EXPECT_EQ(o.detected, o.firstCycle > 0);
    }
  }
  EXPECT_TRUE(foundInSecondBlock);
}

TEST(FaultSimulation, TheGoodChipMustPassAndABadFaultIsReported) {
  EngineRig rig(boardOf("7400"));
  rig.load("nand7400.qel");
  // An AND where the test expects a NAND fails in the first cycle that checks an output.
  virt::BoardConfig wrong;
  const auto parse =
      virt::parseChipModel("chip 7408\npins 14\nground 7\nsupply 14\ninput A=1 B=2\noutput Y=3\nY = A & B\n");
  ASSERT_NE(parse.model, nullptr) << parse.reason;
  wrong.model = parse.model;
  std::string error;
  EXPECT_GT(coverage::FaultSimulator(rig.bench.test, wrong).firstError("", error), 0);

  const coverage::FaultSimulator simulator(rig.bench.test, boardOf("7400"));
  EXPECT_EQ(simulator.firstError("out0:1", error), -1);
  EXPECT_NE(error.find("not an output"), std::string::npos) << error;
  const auto outcomes = simulator.grade({"out0:1", "out1:3"});
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_FALSE(outcomes[0].error.empty());
  const auto totals = coverage::totalsOf(outcomes);
  EXPECT_EQ(totals.faults, 1);  // the fault that does not fit is not counted
  EXPECT_EQ(totals.detected, 1);
  EXPECT_EQ(coverage::shareText(2, 3), "2 из 3 (66 %)");
  const auto pins = coverage::pinCoverage(simulator.grade({"out1:3", "bridge:1,2", "out0:1"}), 14);
  EXPECT_EQ(pins[3].faults, 1);
  EXPECT_EQ(pins[3].detected, 1);
  EXPECT_EQ(pins[1].faults, 1);  // the bridge; out0:1 does not fit and is not counted
  EXPECT_EQ(pins[2].detected, 0);

  // A stop before the start leaves every fault out.
  const std::atomic<bool> stop{true};
  EXPECT_TRUE(simulator.grade({"out1:3"}, {}, &stop).empty());
}

TEST(FaultSimulation, FaultListsFollowThePackageAndMissedFaultsGetAHint) {
  std::string error;
  auto listOf = [&](const std::string& part) {
    const auto board = virt::Board::create(boardOf(part), error);
    return coverage::faultList(board->chip());
  };
  const auto nand = listOf("7400");
  EXPECT_EQ(nand.size(), 34u);  // 8 inputs, 4 outputs, 10 neighbours along the sides
  EXPECT_NE(std::find(nand.begin(), nand.end(), "bridge:13,14") - nand.begin(), 0);
  for (const char* never : {"bridge:6,7", "bridge:7,8", "in0:3", "out0:1"})
    EXPECT_EQ(std::find(nand.begin(), nand.end(), never), nand.end()) << never;
  const auto ram = listOf("6116");
  for (const char* memory : {"addr0:10", "addrshort:9,10", "datashort:6,7", "coupling:0,1,0"})
    EXPECT_NE(std::find(ram.begin(), ram.end(), memory), ram.end()) << memory;
  EXPECT_EQ(coverage::classOf("addrshort:1,2"), coverage::FaultClass::Address);
  EXPECT_EQ(coverage::classOf("in1:4"), coverage::FaultClass::Input);

  // The counter's load inputs are only ever low: their stuck-at-0 cannot show.
  EngineRig rig(boardOf("74161"));
  rig.load("counter_cyclic.qel");
  const auto& t = rig.bench.test;
  const auto activity = coverage::pinActivity(t);
  EXPECT_EQ(coverage::missedFaultHint(t, activity, "in0:3"), "вход 3 (A) ни разу не подан в 1");
  EXPECT_EQ(coverage::missedFaultHint(t, activity, "in1:1"),
            "вход 1 (/CLR) ни разу не влияет на выход при 0 на нём");
  EXPECT_EQ(coverage::missedFaultHint(t, activity, "bridge:3,4"),
            "выводы 3 и 4 ни разу не имеют разных уровней");
}
