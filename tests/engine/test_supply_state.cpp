// A link that breaks or goes quiet at any byte: the program never claims a supply-off the tester
// did not confirm, and never reports success while the supply may be on.

#include <algorithm>

#include "engine_rig.h"
#include "nand_test.h"
#include "tester/protocol.h"

namespace qel::testing {
namespace {

using engine::Outcome;
using tester::SupplyState;

// Bytes the tester sends back in a whole good run of the example.
uint64_t answerBytes(bool contactOnly) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  const Outcome outcome = contactOnly ? rig.runContact() : rig.runFull();
  EXPECT_EQ(outcome, Outcome::Finished);
  return rig.session->driver().delivered();
}

void expectHonestEnd(EngineRig& rig, Outcome outcome, bool contactOnly, const std::string& where) {
  SCOPED_TRACE(where);
  const auto shown = rig.messageTexts();
  const bool warned = std::count(shown.begin(), shown.end(), engine::kSupplyMayBeOnText) == 1;
  if (rig.link->supplyState() == SupplyState::Off) {
    EXPECT_FALSE(warned);
  } else {
    EXPECT_TRUE(warned);
    EXPECT_NE(outcome, Outcome::Finished);
    const auto log = rig.op.lines("log ");
    EXPECT_NE(std::find(log.begin(), log.end(), engine::kSupplyMayBeOnText), log.end());
    if (contactOnly) {
      EXPECT_EQ(std::find(log.begin(), log.end(), "Тестирование Контактов прошло успешно"), log.end());
    }
  }
  EXPECT_FALSE(rig.bench.busy());
}

TEST(SupplyState, FollowsOnlyWhatTheTesterAcknowledged) {
  EngineRig rig(EngineRig::board("7400", {"silent:5"}));
  rig.load("nand7400.qel");
  ASSERT_FALSE(rig.link->checkPresence());
  // Reset, RAM test, parameters, verification and "on" are answered; then nothing more.
  ASSERT_FALSE(rig.link->resetTester() || rig.link->testTesterRam());
  rig.link->setTestParameters(tester::parametersOf(rig.bench.test, 6, {}));
  ASSERT_FALSE(rig.link->verifyTesterRam());
  EXPECT_FALSE(rig.link->powerOn());
  EXPECT_EQ(rig.link->supplyState(), SupplyState::On);
  EXPECT_TRUE(rig.link->powerOff());  // went out, never answered
  EXPECT_EQ(rig.link->supplyState(), SupplyState::Unknown);
  EXPECT_TRUE(rig.link->powerIsOn());
  EXPECT_TRUE(rig.engine->powerOn);  // the indicator shows it as on

  // A command that never went out changes nothing; "off" to a supply known off keeps it off.
  EngineRig absent(EngineRig::board("7400", {"absent"}));
  EXPECT_TRUE(absent.link->powerOn());
  EXPECT_EQ(absent.link->supplyState(), SupplyState::Off);
  EngineRig quiet(EngineRig::board("7400", {"silent:0"}));
  ASSERT_FALSE(quiet.link->checkPresence());
  EXPECT_TRUE(quiet.link->powerOff());
  EXPECT_EQ(quiet.link->supplyState(), SupplyState::Off);
  EXPECT_TRUE(quiet.link->powerOn());
  EXPECT_EQ(quiet.link->supplyState(), SupplyState::Unknown);
}

TEST(SupplyState, ALinkFailingAtAnyByteNeverEndsInAFalseSuccess) {
  for (const bool contactOnly : {true, false}) {
    const uint64_t total = answerBytes(contactOnly);
    // Every byte up to the jumper scan's long answer and after it; inside it, where any failure
    // takes the same way out, every seventh.
    auto next = [total](uint64_t n) { return n < 100 || n + 100 > total ? n + 1 : n + 7; };
    for (const char* kind : {"break", "silent"})
      for (uint64_t n = 0; n <= total; n = next(n)) {
        const std::string fault = std::string(kind) + ":" + std::to_string(n);
        EngineRig rig(EngineRig::board("7400", {fault}));
        rig.load("nand7400.qel");
        const Outcome outcome = contactOnly ? rig.runContact() : rig.runFull();
        expectHonestEnd(rig, outcome, contactOnly, (contactOnly ? "contact " : "full ") + fault);
      }
  }
}

TEST(SupplyState, ACancelThatCannotSwitchOffSaysSo) {
  // Quiet from the block's answers on: the contact stage, then "off", "on", the parameters and
  // the image are answered.
  const uint64_t beforeAnswers = answerBytes(true) - 1 + 4;
  EngineRig rig(EngineRig::board("7400", {"silent:" + std::to_string(beforeAnswers)}));
  buildNandTest(rig.bench.test, 100);
  rig.place();
  ASSERT_TRUE(rig.startFullHeldInBlock());
  rig.clock.condition = nullptr;
  EXPECT_FALSE(rig.engine->cancel());  // the reset is not answered either
  EXPECT_EQ(rig.link->supplyState(), SupplyState::Unknown);
  const auto shown = rig.messageTexts();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), engine::kSupplyMayBeOnText), 1);
}

}  // namespace
}  // namespace qel::testing
