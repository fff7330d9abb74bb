#pragma once
// TFDiagn, "Диагностика тестера": the tester's RAM test and the channel self-test.

#include <QDialog>

class QPushButton;

namespace qel::gui {

class DiagnosticsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit DiagnosticsDialog(QWidget* parent = nullptr);
  QPushButton* ramButton() const { return ram_; }
  QPushButton* channelsButton() const { return channels_; }

 Q_SIGNALS:
  void testRam();
  void testChannels();

 private:
  QPushButton* ram_;
  QPushButton* channels_;
};

}  // namespace qel::gui
