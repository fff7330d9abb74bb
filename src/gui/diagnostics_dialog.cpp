#include "gui/diagnostics_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace qel::gui {

DiagnosticsDialog::DiagnosticsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FDiagn");
  setWindowTitle("Диагностика тестера");
  ram_ = new QPushButton("Тестирование ОЗУ тестера", this);
  channels_ = new QPushButton("Тест каналов", this);
  auto* close = new QPushButton("&Закрыть", this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ram_);
  layout->addWidget(channels_);
  layout->addSpacing(8);
  layout->addWidget(close);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(ram_, &QPushButton::clicked, this, &DiagnosticsDialog::testRam);
  connect(channels_, &QPushButton::clicked, this, &DiagnosticsDialog::testChannels);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace qel::gui
