#include "gui/progress_window.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel::gui {

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle("Тестирование микросхемы");
  setModal(false);
  resize(420, 400);

  auto* params = new QGroupBox("Параметры теста", this);
  auto* form = new QFormLayout(params);
  form->addRow("Тест:", test_ = new QLabel(params));
  form->addRow("Корпус:", package_ = new QLabel(params));
  form->addRow("Тактов:", cycles_ = new QLabel(params));
  form->addRow("Блоков данных:", blocks_ = new QLabel(params));

  log_ = new QPlainTextEdit(this);
  log_->setReadOnly(true);
  log_->setObjectName("progressLog");

  auto* process = new QGroupBox("Процесс", this);
  auto* pl = new QVBoxLayout(process);
  process_ = new QLabel(process);
  process_->setObjectName("processLabel");
  pl->addWidget(process_);
  auto* counters = new QHBoxLayout;
  counters->addWidget(errorsLabel_ = new QLabel("Найдено ошибок:", process));
  counters->addWidget(errors_ = new QLabel("0", process));
  counters->addSpacing(16);
  counters->addWidget(mismatchesLabel_ = new QLabel("Несовпадений:", process));
  counters->addWidget(mismatches_ = new QLabel("0", process));
  counters->addStretch();
  pl->addLayout(counters);
  gauge_ = new QProgressBar(process);
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  pl->addWidget(gauge_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  cancel_ = new QPushButton("Отмена", this);
  close_ = new QPushButton("Закрыть", this);
  buttons->addWidget(cancel_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(params);
  layout->addWidget(log_, 1);
  layout->addWidget(process);
  layout->addLayout(buttons);

  setCountersVisible(false);
  connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::cancelRequested);
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
}

void ProgressWindow::showWindow() {
  show();
  raise();
}

void ProgressWindow::setTestInfo(const QString& test, const QString& package, int cycles, int blocks) {
  test_->setText(test);
  package_->setText(package);
  cycles_->setText(QString::number(cycles));
  blocks_->setText(QString::number(blocks));
}

void ProgressWindow::appendLog(const QString& line) {
  log_->appendPlainText(line);
}
void ProgressWindow::clearLog() {
  log_->clear();
}
void ProgressWindow::setProcess(const QString& label) {
  process_->setText(label);
}

void ProgressWindow::setCountersVisible(bool visible) {
  for (QWidget* w : {static_cast<QWidget*>(errorsLabel_), static_cast<QWidget*>(errors_),
                     static_cast<QWidget*>(mismatchesLabel_), static_cast<QWidget*>(mismatches_)})
    w->setVisible(visible);
}

void ProgressWindow::setCounters(int errors, int mismatches) {
  errors_->setText(QString::number(errors));
  mismatches_->setText(QString::number(mismatches));
}

void ProgressWindow::setGauge(int percent) {
  gauge_->setValue(std::clamp(percent, 0, 100));
}
void ProgressWindow::setCloseEnabled(bool enabled) {
  close_->setEnabled(enabled);
}
QString ProgressWindow::logText() const {
  return log_->toPlainText();
}
QString ProgressWindow::processText() const {
  return process_->text();
}
int ProgressWindow::gauge() const {
  return gauge_->value();
}

}  // namespace qel::gui
