#include "gui/message_box.h"

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
}  // namespace

void showMessage(QWidget* parent, std::string_view text, Icon icon) {
  QMessageBox box(qtIcon(icon), qs(app::kApplicationTitle), qs(text), QMessageBox::Ok, parent);
  box.setObjectName("messageBox");
  box.exec();
}

bool askYesNo(QWidget* parent, std::string_view text) {
  QMessageBox box(QMessageBox::Question, qs(app::kApplicationTitle), qs(text),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName("questionBox");
  return box.exec() == QMessageBox::Yes;
}

}  // namespace qel::gui
