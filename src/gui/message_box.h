#pragma once
// Message boxes captioned with the application title, by the platform's icon codes.

#include <QString>
#include <string_view>

#include "operator/operator.h"

class QWidget;

namespace qel::gui {

inline QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string us(const QString& text) {
  return text.toUtf8().toStdString();
}

void showMessage(QWidget* parent, std::string_view text, Icon icon);
// Yes/No with the question icon; true for Yes.
bool askYesNo(QWidget* parent, std::string_view text);

}  // namespace qel::gui
