#include "gui/guarded_application.h"

#include <cstdio>
#include <exception>
#include <new>

#include "gui/message_box.h"

namespace qel::gui {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    report("недостаточно памяти");
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report("неизвестная ошибка");
  }
  return false;
}

void GuardedApplication::report(const std::string& what) {
  const std::string text =
      "Внутренняя ошибка: " + what + ". Действие не выполнено; тест и результаты в окне сохранены.";
  std::fprintf(stderr, "qeltest: %s\n", text.c_str());
  // A failure while the message is up is not shown on top of it.
  if (reporting_) return;
  reporting_ = true;
  if (onFailure)
    onFailure(text);
  else
    showMessage(nullptr, text, Icon::Error);
  reporting_ = false;
}

}  // namespace qel::gui
