#include "gui/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace qel::gui {

QHBoxLayout* okCancelButtons(QDialog* dialog, const QString& ok, const QString& cancel) {
  auto* okButton = new QPushButton(ok, dialog);
  okButton->setDefault(true);
  auto* cancelButton = new QPushButton(cancel, dialog);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(okButton);
  row->addWidget(cancelButton);
  QObject::connect(okButton, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

}  // namespace qel::gui
