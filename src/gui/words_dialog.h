#pragma once
// TEditorWord, "Слова Данных": a word's contacts, its kind, and the radix of all words.

#include <QDialog>
#include <array>

#include "model/test_description.h"

class QComboBox;
class QListWidget;

namespace qel::gui {

class WordsDialog : public QDialog {
  Q_OBJECT
 public:
  WordsDialog(TestDescription& test, QWidget* parent = nullptr);
  QComboBox* radixSelector() const { return radix_; }
  QListWidget* contacts() const { return contacts_; }
  // "&Отмена" and Esc.
  void reject() override;

 private:
  void showWord(int index);
  void radixChosen(int index);

  TestDescription& test_;
  DataWord saved_;  // word 0 when the dialog opened; "&Отмена" puts it back
  QComboBox* name_;
  QComboBox* radix_;
  QComboBox* io_;
  QListWidget* contacts_;
};

}  // namespace qel::gui
