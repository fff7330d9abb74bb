#include "gui/usb_console_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/message_box.h"

namespace qel::gui {

namespace {
constexpr int kPollMs = 250;
}

UsbConsoleWindow::UsbConsoleWindow(const engine::Bench& bench, tester::Port& port, tester::TesterLink& link,
                                   Operator& op, QWidget* parent)
    : QWidget(parent, Qt::Window), bench_(bench), port_(port), console_(port, link, op) {
  setObjectName("xUSB");
  setWindowTitle("RIrori");
  resize(520, 420);
  commands_ = new QWidget(this);
  auto* portBox = new QGroupBox("Порт", commands_);
  auto* open = new QPushButton("Открыть", portBox);
  open->setObjectName("btOpen");
  auto* close = new QPushButton("Закрыть", portBox);
  close->setObjectName("btClose");
  auto* clear = new QPushButton("Очистить", portBox);
  clear->setObjectName("btClear");
  auto* portLayout = new QHBoxLayout(portBox);
  portLayout->addWidget(open);
  portLayout->addWidget(close);
  portLayout->addWidget(clear);

  auto* readBox = new QGroupBox("Чтение из USB", commands_);
  auto* read = new QPushButton("Прочитать", readBox);
  read->setObjectName("btRead");
  lbRead_ = new QLabel(qs(console_.indicator()), readBox);
  lbRead_->setObjectName("lbRead");
  auto* readLayout = new QHBoxLayout(readBox);
  readLayout->addWidget(read);
  readLayout->addWidget(lbRead_, 1);

  auto* writeBox = new QGroupBox("Запись в USB", commands_);
  edWrite_ = new QLineEdit(writeBox);
  edWrite_->setObjectName("edWrite");
  cbBytes_ = new QCheckBox("побайтно", writeBox);
  cbBytes_->setObjectName("cbBytes");
  auto* write = new QPushButton("Записать", writeBox);
  write->setObjectName("Button1");
  auto* rkdk = new QPushButton("Записать rk dk", writeBox);
  rkdk->setObjectName("Button2");
  auto* writeLayout = new QGridLayout(writeBox);
  writeLayout->addWidget(edWrite_, 0, 0, 1, 2);
  writeLayout->addWidget(cbBytes_, 0, 2);
  writeLayout->addWidget(write, 1, 0);
  writeLayout->addWidget(rkdk, 1, 1);

  auto* commandLayout = new QVBoxLayout(commands_);
  commandLayout->setContentsMargins(0, 0, 0, 0);
  commandLayout->addWidget(portBox);
  commandLayout->addWidget(readBox);
  commandLayout->addWidget(writeBox);

  mmStatus_ = new QPlainTextEdit(this);
  mmStatus_->setObjectName("mmStatus");
  mmStatus_->setReadOnly(true);
  mmStatus_->setMaximumBlockCount(4000);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(commands_);
  layout->addWidget(mmStatus_, 1);

  connect(open, &QPushButton::clicked, this, [this] {
    if (portFree()) console_.open();
    showLog();
  });
  connect(close, &QPushButton::clicked, this, [this] {
    if (portFree()) console_.close();
    showLog();
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    if (portFree()) console_.clear();
    showLog();
  });
  connect(read, &QPushButton::clicked, this, [this] {
    if (portFree()) {
      lbRead_->setStyleSheet("color: red");
      lbRead_->repaint();
      lbRead_->setText(qs(console_.read()));
      lbRead_->setStyleSheet({});
    }
    showLog();
  });
  connect(write, &QPushButton::clicked, this, [this] {
    if (portFree()) {
      edWrite_->setStyleSheet("background: red");
      edWrite_->repaint();
      console_.write(us(edWrite_->text()), cbBytes_->isChecked());
      edWrite_->setStyleSheet({});
    }
    showLog();
  });
  connect(rkdk, &QPushButton::clicked, this, [this] {
    if (portFree()) console_.writeRkDk();
    showLog();
  });
  // The log grows while a run writes it, and the commands wait for the run's end.
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, [this] {
    commands_->setEnabled(!bench_.busy());
    showLog();
  });
}

bool UsbConsoleWindow::portFree() {
  if (!bench_.busy()) return true;
  port_.logLine("Порт занят: идет тестирование");
  return false;
}

void UsbConsoleWindow::showLog() {
  const tester::PortLog& log = port_.log();
  const auto lines = log.lines();
  const size_t dropped = log.dropped();
  // Only the lines not yet shown, counted from the start of the log; the memo drops its oldest
  // lines as the log does.
  const size_t shownEnd = shownDropped_ + shownLines_;
  size_t from = 0;
  if (shownEnd >= dropped && shownEnd - dropped <= lines.size()) {
    from = shownEnd - dropped;
  } else {
    mmStatus_->clear();
  }
  for (size_t i = from; i < lines.size(); ++i) mmStatus_->appendPlainText(qs(lines[i]));
  shownDropped_ = dropped;
  shownLines_ = lines.size();
}

void UsbConsoleWindow::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  commands_->setEnabled(!bench_.busy());
  showLog();
  poll_.start();
}

void UsbConsoleWindow::hideEvent(QHideEvent* e) {
  poll_.stop();
  QWidget::hideEvent(e);
}

}  // namespace qel::gui
