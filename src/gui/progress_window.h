#pragma once
// The test progress window TForm2, "Тестирование микросхемы".

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace qel::gui {

class ProgressWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void showWindow();
  void setTestInfo(const QString& test, const QString& package, int cycles, int blocks);
  void appendLog(const QString& line);
  void clearLog();
  void setProcess(const QString& label);
  void setCountersVisible(bool visible);
  void setCounters(int errors, int mismatches);
  void setGauge(int percent);
  void setCloseEnabled(bool enabled);

  QString logText() const;
  QString processText() const;
  int gauge() const;

 Q_SIGNALS:
  void cancelRequested();

 private:
  QLabel* test_;
  QLabel* package_;
  QLabel* cycles_;
  QLabel* blocks_;
  QPlainTextEdit* log_;
  QLabel* process_;
  QLabel* errorsLabel_;
  QLabel* errors_;
  QLabel* mismatchesLabel_;
  QLabel* mismatches_;
  QProgressBar* gauge_;
  QPushButton* cancel_;
  QPushButton* close_;
};

}  // namespace qel::gui
