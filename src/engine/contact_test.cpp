#include <array>

#include "engine/test_engine.h"

namespace qel::engine {

namespace {
constexpr const char* kNoContactText = "На микросхеме нет контактирования зажима";
constexpr const char* kNoSupplyText = "На микросхеме отсутствует питание";
constexpr const char* kRealtimeQuestion = ". Включить проверку контактирования в реальном времени?";
// A jumper outcome 129..200 is a group number with 128 added; the group counts as it is.
constexpr int32_t kMarkedGroup = 128;
constexpr int32_t kLastMarkedGroup = 200;

const char* logicLetter(int32_t code) {
  switch (code) {
    case 1:
      return "L";
    case 2:
      return "H";
    case 3:
      return "G";
    case 4:
      return "Z";
    default:
      return "-";
  }
}
}  // namespace

bool TestEngine::startContactTest() {
  if (runRefused()) return false;
  return launch(RunKind::Contact);
}

bool TestEngine::runContactTest() {
  if (realtime_) {
    settle(Outcome::NotStarted);
    return false;
  }
  errorRaised = 0;
  const TestDescription& t = bench_.test;
  const int pins = std::min(t.pinCount, kContactRecords);

  prepareProgress();
  step("Тестирование Контактов(TestCorp)");
  gauge(gauge_ + 10);
  if (stopped() || !initialiseTester()) return false;
  if (stopped()) return false;

  step("Включение питания(on_5v)");
  link_.powerOn();
  if (stopped()) return false;

  step("Потенциальный скол(volt1)");
  std::array<int32_t, tester::kMapPins> values{};
  if (link_.readLevels(values)) {
    raiseError(4);
    return false;
  }
  if (stopped()) return false;
  updateContacts([&](ContactRecords& contacts) {
    for (int k = 0; k < pins; ++k) contacts[size_t(k)].level = values[size_t(k)];
  });
  gauge(gauge_ + 10);

  step("Проверка соответствия Напряжения типу микросхемы(pin_5v0v)");
  const bool supply = link_.supplyOk();
  if (stopped()) return false;

  step("Проверка контактирования(pin_cont)");
  std::string fault;
  if (!link_.contactOk()) fault = kNoContactText;
  if (!supply) fault = kNoSupplyText;  // a supply fault wins

  if (fault.empty()) {
    gauge(gauge_ + 10);
    step("Логический скол(r_log)");
    values.fill(0);
    link_.readLogic(values);
    updateContacts([&](ContactRecords& contacts) {
      for (int k = 0; k < pins; ++k) contacts[size_t(k)].mark = logicLetter(values[size_t(k)]);
    });

    step("Формирование массива перемычек(control1)");
    values.fill(0);
    if (link_.scanJumpers(values)) {
      raiseError(9);
      return false;
    }
    if (stopped()) return false;
    updateContacts([&](ContactRecords& contacts) {
      for (int k = 0; k < pins; ++k) {
        ContactRecord& r = contacts[size_t(k)];
        const int32_t outcome = values[size_t(k)];
        if (outcome <= kMarkedGroup)
          r.group = outcome;
        else if (outcome <= kLastMarkedGroup)
          r.group = outcome - kMarkedGroup;
        else if (outcome == tester::kJumperStuckLow)
          r.mark = "!L";
        else if (outcome == tester::kJumperStuckHigh)
          r.mark = "!H";
      }
    });

    if (stopped()) return false;
    if (powerOffAfterContact) {
      gauge(gauge_ + 10);
      step("Выключение питания(off_5v)");
      op_.progressClose();
      // Success is not claimed while the supply may still be on.
      if (link_.powerOff() && !stopped() && link_.powerIsOn()) {
        settle(Outcome::SupplyNotOff);
        return false;
      }
    }
    if (stopped()) return false;
    step("Тестирование Контактов прошло успешно");
    op_.progressProcess("Конец тестирования Контактов");
    op_.redraw();
    return true;
  }

  link_.powerOff();
  if (stopped()) return false;
  settle(Outcome::ContactFault);
  continueEnabled = current().options.continueRun;
  if (op_.ask(fault + kRealtimeQuestion)) op_.progressClose();
  return false;
}

void TestEngine::startRealtimeCheck() {
  // A run owns the port while busy; the checks wait for it to end.
  if (bench_.channelFault() || bench_.busy()) return;
  if (bench_.testerNotInitialised()) initialiseTester();
  link_.powerOn();
  realtime_ = true;
}

void TestEngine::realtimeTick() {
  if (!realtime_) return;
  if (errorRaised) {
    realtime_ = false;
    return;
  }
  auto end = [this] {
    realtime_ = false;
    link_.powerOff();
    checkSupplyOff();
  };
  if (bench_.testerNotInitialised() && !initialiseTester()) return end();
  link_.powerOn();
  std::array<int32_t, tester::kMapPins> levels{};
  if (link_.readLevels(levels)) {
    raiseError(4);
    return end();
  }
  updateContacts([&](ContactRecords& contacts) {
    for (int k = 0; k < std::min(bench_.test.pinCount, kContactRecords); ++k)
      contacts[size_t(k)].level = levels[size_t(k)];
  });
}

void TestEngine::stopRealtimeCheck() {
  if (!realtime_) return;
  realtime_ = false;
  link_.powerOff();
  checkSupplyOff();
  link_.closeConnection();
}

}  // namespace qel::engine
