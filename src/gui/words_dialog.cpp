#include "gui/words_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "views/word_panels.h"

namespace qel::gui {

WordsDialog::WordsDialog(TestDescription& test, QWidget* parent)
    : QDialog(parent), test_(test), saved_(test.words[0]) {
  setObjectName("EditorWord");
  setWindowTitle("Слова Данных");
  name_ = new QComboBox(this);
  name_->setObjectName("wName");
  for (int w = 0; w < test_.dataWordCount && w < kMaxDataWords; ++w)
    name_->addItem(QString::fromStdString(test_.words[size_t(w)].name));
  if (test_.dataWordCount == 0) name_->addItem("Новое");
  radix_ = new QComboBox(this);
  radix_->setObjectName("wSys");
  radix_->addItems({"Двоичная", "Восьмеричная", "Десятичная", "Шестнадцатиричная"});
  io_ = new QComboBox(this);
  io_->setObjectName("wIO");
  io_->addItems({"I-Входные", "O-Выходные", "I/O-Двунаправленные"});
  io_->setEnabled(false);
  contacts_ = new QListWidget(this);
  contacts_->setObjectName("lbContacts");

  auto* form = new QFormLayout;
  form->addRow(name_);
  form->addRow(radix_);
  form->addRow(io_);
  auto* buttons = okCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(contacts_, 1);
  layout->addLayout(buttons);

  connect(name_, &QComboBox::currentIndexChanged, this, &WordsDialog::showWord);
  connect(radix_, &QComboBox::activated, this, &WordsDialog::radixChosen);
  showWord(0);
}

void WordsDialog::showWord(int index) {
  contacts_->clear();
  const QSignalBlocker block(radix_);
  radix_->setCurrentIndex(views::choiceOfRadix(test_.words[0].radix));
  if (index < 0 || index >= test_.dataWordCount) {
    io_->setCurrentIndex(0);
    return;
  }
  const DataWord& w = test_.words[size_t(index)];
  io_->setCurrentIndex(views::ioChoiceOfKind(w.ioKind));
  for (int s = 1; s <= kWordSlots && w.pins[size_t(s)] > 0; ++s)
    contacts_->addItem(QString::fromStdString(views::contactLine(test_, w.pins[size_t(s)])));
}

// The radix of word 0 is the radix of the whole test, and it changes at once.
void WordsDialog::radixChosen(int index) {
  test_.words[0].radix = views::radixOfChoice(index);
}

void WordsDialog::reject() {
  test_.words[0] = saved_;
  QDialog::reject();
}

}  // namespace qel::gui
