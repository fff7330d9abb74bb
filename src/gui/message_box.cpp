#include "gui/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "app/startup.h"

namespace qel::gui {

namespace {
QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}
// A box without a parent would sit at the screen's corner; it goes over the main window instead.
QWidget* overWindow(QWidget* parent) {
  if (parent) return parent;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->inherits("QMainWindow")) return w;
  return nullptr;
}
}  // namespace

void showMessage(QWidget* parent, std::string_view text, Icon icon) {
  parent = overWindow(parent);
  QMessageBox box(qtIcon(icon), qs(app::kApplicationTitle), qs(text), QMessageBox::Ok, parent);
  box.setObjectName("messageBox");
  box.exec();
}

bool askYesNo(QWidget* parent, std::string_view text) {
  parent = overWindow(parent);
  QMessageBox box(QMessageBox::Question, qs(app::kApplicationTitle), qs(text),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName("questionBox");
  return box.exec() == QMessageBox::Yes;
}

}  // namespace qel::gui
