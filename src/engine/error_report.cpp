#include "engine/test_engine.h"

namespace qel::engine {

std::string errorText(int code) {
  switch (code) {
    case 2:
      return "Нет сброса тестера, подключите тестер к компьютеру и включите его.";
    case 4:
      return "Ошибка при съеме потенциалов (Ошибка №4)";
    case 5:
      return "U питания не соответствует типу Микросхемы (Ошибка №5)";
    case 6:
      return "Нет контактирования Микросхемы (Ошибка №6)";
    case 7:
      return "Неисправно ОЗУ (Ошибка №7)";
    case 8:
      return "Нет готовности тестера при работе с объектом (Ошибка №8)";
    default:
      return "Критическая ошибка №" + std::to_string(code);
  }
}

void TestEngine::raiseError(int code) {
  errorRaised = 1;
  settle(Outcome::ErrorRaised, code);
  if (stopRequested) return;
  const std::string text = errorText(code);
  if (code == 2) {
    op_.message(text, Icon::Warning);
    return;
  }
  op_.log(text);
  op_.progressLog(text);
  op_.progressProcess(text);
  if (code != 6) op_.message(text, Icon::Warning);
  op_.log("Выключение питания(off_5v())");
  op_.progressLog("Выключение питания(off_5v()");
  op_.progressProcess("Выключение питания");
  // Busy is not cleared here: the run that holds the bench releases it when it has left the
  // tester, and clearing it sooner would let another command reach the port meanwhile.
  link_.powerOff();
}

}  // namespace qel::engine
