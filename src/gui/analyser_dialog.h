#pragma once
// TFHolHod, "Холостое тестирование": how many cycles the analyser captures.

#include <QDialog>

class QSpinBox;

namespace qel::gui {

class AnalyserDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AnalyserDialog(QWidget* parent = nullptr);
  QSpinBox* cycles() const { return tact_; }

 private:
  QSpinBox* tact_;
};

}  // namespace qel::gui
