#pragma once
// The wait window TFWait: a caption, a label and a gauge while the GUI thread works.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace qel::gui {

class WaitWindow : public QDialog {
  Q_OBJECT
 public:
  explicit WaitWindow(QWidget* parent = nullptr);
  void showWith(const QString& caption, const QString& label);
  void setLabel(const QString& label);
  void setGaugeVisible(bool visible);
  void setRange(int minimum, int maximum);
  void setProgress(int position);

 private:
  QLabel* label_;
  QProgressBar* gauge_;
};

}  // namespace qel::gui
