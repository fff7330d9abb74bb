#pragma once
// The OK and cancel buttons at the foot of a dialog, right-aligned, OK the default.

#include <QString>

class QDialog;
class QHBoxLayout;

namespace qel::gui {

QHBoxLayout* okCancelButtons(QDialog* dialog, const QString& ok = "&OK", const QString& cancel = "&Отмена");

}  // namespace qel::gui
