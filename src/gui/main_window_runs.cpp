// The runs on the tester, real-time contact checking and the error navigation.

#include <QTabWidget>
#include <QToolButton>

#include "gui/diagram_panel.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/package_widget.h"
#include "gui/progress_window.h"
#include "gui/run_control.h"
#include "gui/table_page.h"
#include "views/comparison.h"

namespace qel::gui {

void MainWindow::startFullTest() {
  if (!runs_ || !bench_.testReady() || bench_.busy() || realtimeTimer_.isActive()) return;
  // The run writes the test the table's worker reads.
  table_->stopFill();
  progress_.setCloseEnabled(false);
  const bool started = runs_->startFullTest();
  progress_.setCloseEnabled(true);
  if (started) realtimeTimer_.stop();
  redrawFromModel();
}

void MainWindow::startContactTest() {
  if (!runs_ || !bench_.testReady() || bench_.busy() || realtimeTimer_.isActive()) return;
  table_->stopFill();
  progress_.setCloseEnabled(false);
  runs_->startContactTest();
  progress_.setCloseEnabled(true);
  redrawFromModel();
}

void MainWindow::continueRun() {
  if (!runs_ || bench_.busy()) return;
  realtimeTimer_.stop();
  table_->stopFill();
  runs_->continueRun();
  redrawFromModel();
}

void MainWindow::cancelRun() {
  if (!runs_) return;
  // The worker may be waiting on a question; it gets "No" so that it can leave.
  op_.abandonQuestions();
  runs_->cancel();
  op_.acceptQuestions();
  redrawFromModel();
}

void MainWindow::startRealtimeCheck() {
  if (!runs_ || bench_.busy()) return;
  runs_->startRealtimeCheck();
  if (runs_->realtimeOn()) realtimeTimer_.start();
}

void MainWindow::stopRealtimeCheck() {
  if (!runs_) return;
  realtimeTimer_.stop();
  runs_->stopRealtimeCheck();
  redrawFromModel();
}

void MainWindow::navigate(int step) {
  static const views::Step kSteps[] = {views::Step::First, views::Step::Previous, views::Step::Next,
                                       views::Step::Last};
  if (step < 0 || step > 3 || bench_.busy()) return;
  const auto cycle = views::navigate(bench_.errors, kSteps[step]);
  if (!cycle) return;
  diagram_->moveCursorToCycle(*cycle);
  setErrText(qs(views::navigationCounterText(bench_.errors)));
}

}  // namespace qel::gui
