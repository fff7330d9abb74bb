#include "gui/program_options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/gui_operator.h"

namespace qel::gui {

ProgramOptionsDialog::ProgramOptionsDialog(const app::Settings& s, GuiOperator& op, QWidget* parent)
    : QDialog(parent), op_(op) {
  setObjectName("fmParamProg");
  setWindowTitle("Настройки программы");
  shortTest_ = new QCheckBox("Сжатый тест ОЗУ.", this);
  vccOff_ = new QCheckBox("Отключение питания при блочном тестировании", this);
  continue_ = new QCheckBox(this);
  auto* continueText =
      new QLabel("Продолжить тестирование при несовпадении питания\nили отсутствия контактирования.", this);
  channels_ = new QCheckBox("Проводить тестирование каналов при загрузке", this);
  shortTest_->setChecked(s.shortTest);
  vccOff_->setChecked(s.vccOff);
  continue_->setChecked(s.continueOnFault);
  channels_->setChecked(s.testChannelsOnStart);

  auto* continueRow = new QHBoxLayout;
  continueRow->addWidget(continue_);
  continueRow->addWidget(continueText, 1);
  auto* defaults = new QPushButton("По &умолчанию", this);
  auto* ok = new QPushButton("&OK", this);
  auto* cancel = new QPushButton("&Отмена", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaults);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(shortTest_);
  layout->addWidget(vccOff_);
  layout->addLayout(continueRow);
  layout->addWidget(channels_);
  layout->addLayout(buttons);

  connect(defaults, &QPushButton::clicked, this, &ProgramOptionsDialog::setDefaults);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Only the user's own tick warns, not the dialog filling itself.
  connect(continue_, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked)
      op_.message("Разработчики не рекомендуют использовать этот параметр без особой необходимости",
                  Icon::Warning);
  });
}

void ProgramOptionsDialog::setDefaults() {
  shortTest_->setChecked(true);
  vccOff_->setChecked(true);
  continue_->setChecked(false);
  channels_->setChecked(true);
}

void ProgramOptionsDialog::store(app::Settings& s) const {
  s.shortTest = shortTest_->isChecked();
  s.vccOff = vccOff_->isChecked();
  s.continueOnFault = continue_->isChecked();
  s.testChannelsOnStart = channels_->isChecked();
}

}  // namespace qel::gui
