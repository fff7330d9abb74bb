// The tester's service windows: analyser mode, diagnostics, the raw readout, the USB console; the
// fault coverage of the loaded test.

#include <QComboBox>
#include <QSpinBox>
#include <QTabWidget>

#include "engine/test_engine.h"
#include "gui/analyser_dialog.h"
#include "gui/coverage_window.h"
#include "gui/diagnostics_dialog.h"
#include "gui/diagram_panel.h"
#include "gui/engine_run_control.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/package_widget.h"
#include "gui/progress_window.h"
#include "gui/raw_readout_window.h"
#include "gui/search_window.h"
#include "gui/table_page.h"
#include "gui/tester_connection.h"
#include "gui/usb_console_window.h"
#include "gui/word_panels_widget.h"

namespace qel::gui {

void MainWindow::startAnalyser() {
  auto* runs = dynamic_cast<EngineRunControl*>(runs_);
  if (!runs || bench_.channelFault() || realtimeTimer_.isActive() || !bench_.testReady() || bench_.busy())
    return;
  AnalyserDialog dialog(this);
  std::optional<std::string> cycles;
  if (dialog.exec() == QDialog::Accepted) cycles = us(dialog.cycles()->cleanText());
  if (!cycles) {
    redrawFromModel();
    return;
  }
  setErrText("0/0");
  table_->stopFill();
  progress_.setCloseEnabled(false);
  runs->engine().startAnalyser(cycles);
  progress_.setCloseEnabled(true);
  redrawFromModel();
}

void MainWindow::showDiagnostics() {
  auto* runs = dynamic_cast<EngineRunControl*>(runs_);
  if (!runs) {
    op_.message("Нет связи с тестером", Icon::Error);
    return;
  }
  DiagnosticsDialog dialog(this);
  connect(&dialog, &DiagnosticsDialog::testRam, this, [this, runs] {
    if (realtimeTimer_.isActive()) return;
    runs->engine().testRam();
  });
  connect(&dialog, &DiagnosticsDialog::testChannels, this, [this, runs] {
    realtimeTimer_.stop();
    table_->stopFill();
    runs->engine().testChannels();
    redrawFromModel();
  });
  dialog.exec();
}

void MainWindow::showRawReadout() {
  auto* runs = dynamic_cast<EngineRunControl*>(runs_);
  if (!runs || bench_.busy() || realtimeTimer_.isActive()) return;
  if (!raw_) raw_ = new RawReadoutWindow(this);
  raw_->grid() = tester::RawGrid{};
  const bool failed = runs->engine().rawReadout(raw_->grid());
  raw_->refresh();
  raw_->show();
  raw_->raise();
  if (failed) op_.message("Ошибка съема данных", Icon::Error);
}

void MainWindow::showUsbConsole() {
  auto* runs = dynamic_cast<EngineRunControl*>(runs_);
  if (!runs) {
    op_.message("Нет связи с тестером", Icon::Error);
    return;
  }
  if (!console_) {
    auto& c = runs->connection();
    console_ = new UsbConsoleWindow(bench_, *c.port, *c.link, op_, this);
  }
  console_->show();
  console_->raise();
}

void MainWindow::showCoverage() {
  if (!bench_.testReady()) return;
  if (!coverage_) {
    coverage_ = new CoverageWindow(bench_, this);
    connect(coverage_, &CoverageWindow::pinCoverageChanged, package_, &PackageWidget::setPinCoverage);
  }
  coverage_->show();
  coverage_->raise();
}

void MainWindow::showSearch() {
  if (!bench_.testReady() || pages_->isHidden()) return;
  if (pages_->currentIndex() == 1)
    table_->selectCycle(std::clamp(view_.cursorCycle(), 1, std::max(1, bench_.test.cycleCount)));
  table_->startFill();
  if (!search_) {
    search_ = new SearchWindow(bench_.test, table_->model()->rows(), this);
    connect(search_, &SearchWindow::cycleChosen, this, [this](int cycle) {
      diagram_->moveCursorToCycle(cycle);
      table_->selectCycle(cycle);
    });
    // A search must not go on over rows of a test that is replaced.
    connect(table_->model(), &QAbstractItemModel::modelAboutToBeReset, search_, &SearchWindow::cancel);
    connect(table_, &TablePage::rowsStopped, search_, &SearchWindow::cancel);
  }
  search_->prepare(words_->selector(0)->currentIndex(), words_->referenceText(0));
  search_->show();
  search_->raise();
}

UsbConsoleWindow* MainWindow::usbConsole() const {
  return console_;
}
RawReadoutWindow* MainWindow::rawReadout() const {
  return raw_;
}

}  // namespace qel::gui
