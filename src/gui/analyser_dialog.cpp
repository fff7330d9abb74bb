#include "gui/analyser_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"

namespace qel::gui {

AnalyserDialog::AnalyserDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FHolHod");
  setWindowTitle("Холостое тестирование");
  auto* text = new QLabel("Задайте количество таков \n\"холостого\" тестирования", this);
  tact_ = new QSpinBox(this);
  tact_->setObjectName("tact");
  tact_->setRange(0, 8190);
  tact_->setValue(8190);
  auto* buttons = okCancelButtons(this, "OK", "Отмена");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(tact_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace qel::gui
