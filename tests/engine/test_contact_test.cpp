// The contact test step by step, its findings per pin, and real-time checking.

#include "engine_rig.h"
#include "tester/protocol.h"

namespace qel::testing {
namespace {

using engine::Outcome;

TEST(ContactTest, PassingChipLogsEveryStepAndStoresItsFindings) {
  EngineRig rig(EngineRig::board("7400", {"short:1,4"}));
  rig.load("nand7400.qel");
  EXPECT_EQ(rig.runContact(), Outcome::Finished);
  EXPECT_EQ(
      rig.op.lines("log "),
      (std::vector<std::string>{"Тестирование Контактов(TestCorp)", "Подключение к устройству прошло успешно",
                                "Включение питания(on_5v)", "Потенциальный скол(volt1)",
                                "Проверка соответствия Напряжения типу микросхемы(pin_5v0v)",
                                "Проверка контактирования(pin_cont)", "Логический скол(r_log)",
                                "Формирование массива перемычек(control1)", "Выключение питания(off_5v)",
                                "Тестирование Контактов прошло успешно"}));
  const auto labels = rig.op.lines("progress process ");
  EXPECT_EQ(labels.front(), "Тестирование Контактов");
  EXPECT_EQ(labels.back(), "Конец тестирования Контактов");
  const auto& c = rig.bench.contacts;
  EXPECT_EQ(c[6].level, 55);          // GND at 0 V on the default scale
  EXPECT_EQ(c[13].level, 255);        // VCC
  EXPECT_EQ(c[0].group, c[3].group);  // pins 1 and 4 wired together
  EXPECT_NE(c[0].group, 0);
  EXPECT_EQ(c[1].group, 0);
  EXPECT_EQ(c[2].mark, "L");  // NAND of two floating (high) inputs
  EXPECT_FALSE(rig.bench.busy());
  EXPECT_FALSE(rig.link->powerIsOn());
  // Announced, so that the window puts the package page in front.
  EXPECT_EQ(rig.op.runStarts(), std::vector<RunKind>{RunKind::Contact});
}

TEST(ContactTest, AsTheFirstStageOfAFullTestItLeavesTheSupplyOn) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  rig.engine->powerOffAfterContact = false;
  EXPECT_TRUE(rig.engine->runContactTest());
  EXPECT_TRUE(rig.link->powerIsOn());
  const auto events = rig.op.events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "progress close"), 0);
  const auto log = rig.op.lines("log ");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Выключение питания(off_5v)"), 0);
}

TEST(ContactTest, SupplyFaultTextReplacesTheContactText) {
  EngineRig rig(EngineRig::board("7400", {"open:1", "nosupply"}));
  rig.load("nand7400.qel");
  rig.op.answers = {false};
  EXPECT_EQ(rig.runContact(), Outcome::ContactFault);
  const auto events = rig.op.events();
  const std::string question =
      "ask На микросхеме отсутствует питание. Включить проверку контактирования в реальном времени?";
  EXPECT_NE(std::find(events.begin(), events.end(), question), events.end());
  // The supply went off before the question.
  EXPECT_EQ(rig.commands().back(), tester::kPowerOff);
  EXPECT_FALSE(rig.engine->continueEnabled);
  EXPECT_FALSE(rig.bench.busy());

  EngineRig contact(EngineRig::board("7400", {"open:2"}));
  contact.load("nand7400.qel");
  contact.engine->settings().options.continueRun = true;
  contact.op.answers = {true};
  EXPECT_EQ(contact.runContact(), Outcome::ContactFault);
  const auto e2 = contact.op.events();
  EXPECT_NE(std::find(e2.begin(), e2.end(),
                      "ask На микросхеме нет контактирования зажима. Включить проверку контактирования в "
                      "реальном времени?"),
            e2.end());
  EXPECT_EQ(e2.back(), "progress close");  // Yes closes the progress window
  // "Продолжить" runs the blocks without the contact stage.
  ASSERT_TRUE(contact.engine->continueRun());
  contact.engine->wait();
  EXPECT_EQ(contact.engine->lastOutcome(), Outcome::Finished);
  EXPECT_GT(contact.bench.errors.errorCount, 0);  // pin 2 is not touched
}

TEST(ContactTest, PinsThatCannotMoveAreMarkedAndNeverDriven) {
  EngineRig rig(EngineRig::board("7400", {"stuck0:1", "stuck1:5"}));
  rig.load("nand7400.qel");
  EXPECT_EQ(rig.runFull(), Outcome::Finished);
  EXPECT_EQ(rig.bench.contacts[0].mark, "!H");
  EXPECT_EQ(rig.bench.contacts[4].mark, "!L");
  // Neither pin's channel was driven in any cycle of the block.
  for (int cycle = 0; cycle < rig.bench.test.cycleCount; ++cycle) {
    EXPECT_FALSE(rig.link->driveMask(0, cycle) & (1u << 0)) << cycle;
    EXPECT_FALSE(rig.link->driveMask(0, cycle) & (1u << 4)) << cycle;
  }
}

TEST(ContactTest, RefusesWhileBusyOrChecking) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  rig.engine->startRealtimeCheck();
  ASSERT_TRUE(rig.engine->realtimeOn());
  EXPECT_FALSE(rig.engine->startContactTest());
  EXPECT_FALSE(rig.engine->startFullTest());
  EXPECT_FALSE(rig.engine->runContactTest());
  rig.engine->realtimeTick();
  EXPECT_EQ(rig.bench.contacts[6].level, 55);
  EXPECT_TRUE(rig.link->powerIsOn());
  rig.engine->stopRealtimeCheck();
  EXPECT_FALSE(rig.engine->realtimeOn());
  EXPECT_FALSE(rig.link->powerIsOn());

  // After an error report the first tick switches checking off.
  rig.engine->startRealtimeCheck();
  rig.engine->errorRaised = 1;
  rig.engine->realtimeTick();
  EXPECT_FALSE(rig.engine->realtimeOn());
}

TEST(ErrorReport, NumberedTexts) {
  EngineRig rig(EngineRig::board("7400"));
  rig.load("nand7400.qel");
  rig.engine->raiseError(6);
  EXPECT_TRUE(rig.op.messages().empty());  // error 6 is only logged
  EXPECT_EQ(rig.op.lines("log "), (std::vector<std::string>{"Нет контактирования Микросхемы (Ошибка №6)",
                                                            "Выключение питания(off_5v())"}));
  EXPECT_EQ(rig.op.lines("progress log ").back(), "Выключение питания(off_5v()");
  rig.op.clear();
  rig.engine->raiseError(2);
  EXPECT_EQ(rig.op.events(),
            (std::vector<std::string>{
                "message 48 Нет сброса тестера, подключите тестер к компьютеру и включите его."}));
  EXPECT_EQ(engine::errorText(9), "Критическая ошибка №9");
  EXPECT_EQ(engine::errorText(3), "Критическая ошибка №3");
  EXPECT_EQ(engine::errorText(7), "Неисправно ОЗУ (Ошибка №7)");
  EXPECT_EQ(rig.engine->errorRaised, 1);
  // While a stop is requested nothing is shown.
  rig.op.clear();
  rig.engine->stopRequested = true;
  rig.engine->raiseError(4);
  EXPECT_TRUE(rig.op.events().empty());
}

}  // namespace
}  // namespace qel::testing
