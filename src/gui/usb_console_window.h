#pragma once
// TxUSB, the USB console: the port by hand, with the status log the port layer writes. While a
// run holds the port the console only watches.

#include <QTimer>
#include <QWidget>
#include <memory>

#include "engine/bench.h"
#include "tester/console.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace qel::gui {

class UsbConsoleWindow : public QWidget {
  Q_OBJECT
 public:
  UsbConsoleWindow(const engine::Bench& bench, tester::Port& port, tester::TesterLink& link, Operator& op,
                   QWidget* parent = nullptr);
  QLineEdit* bytesField() const { return edWrite_; }
  QCheckBox* byteWise() const { return cbBytes_; }
  QLabel* readIndicator() const { return lbRead_; }
  QPlainTextEdit* log() const { return mmStatus_; }
  QWidget* commands() const { return commands_; }
  // The log as the port layer has it now.
  void showLog();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  // False, with a line in the log, while a run holds the port.
  bool portFree();

  const engine::Bench& bench_;
  tester::Port& port_;
  tester::UsbConsole console_;
  QWidget* commands_;
  QLabel* lbRead_;
  QLineEdit* edWrite_;
  QCheckBox* cbBytes_;
  QPlainTextEdit* mmStatus_;
  QTimer poll_;
  size_t shownLines_ = 0, shownDropped_ = 0;
};

}  // namespace qel::gui
