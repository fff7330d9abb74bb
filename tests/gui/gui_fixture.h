#pragma once
// One main window with everything it is given, as the program builds it, over an in-memory
// settings store and scripted message boxes.

#include <QApplication>
#include <QSignalSpy>
#include <memory>

#include "app/settings.h"
#include "app/settings_store.h"
#include "engine/bench.h"
#include "gui/engine_run_control.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/progress_window.h"
#include "gui/run_control.h"
#include "gui/wait_window.h"

namespace qel::gui::testing {

struct Harness {
  app::MemorySettingsStore store;
  engine::Bench bench;
  app::Settings settings;
  ProgressWindow progress;
  WaitWindow wait;
  GuiOperator op{progress, wait};
  std::unique_ptr<RunControl> runs;
  std::unique_ptr<MainWindow> window;

  // withTester: bind the tester library that QEL_TESTER chooses (the virtual one in the tests).
  explicit Harness(bool withTester = false, bool scripted = true) {
    op.setScripted(scripted);
    std::unique_ptr<EngineRunControl> engineRuns;
    if (withTester) {
      std::string failure;
      engineRuns = EngineRunControl::create(bench, settings, op, failure);
    }
    window = std::make_unique<MainWindow>(
        MainWindowParts{bench, settings, store, op, progress, wait, engineRuns.get(), "/opt/qel/qeltest"});
    window->quitOnClose = false;
    if (engineRuns) engineRuns->applySettings(settings);
    runs = std::move(engineRuns);
    window->resize(725, 520);
    window->show();
    QApplication::processEvents();
  }
  ~Harness() {
    if (window) window->close();
  }
  bool runFinished() const { return !bench.busy() && (!runs || !runs->running()); }
  // Starts a run and waits until the window has shown how it ended; false when it did not end
  // within the limit.
  template <typename Start>
  bool runAndWait(Start start, int limitMs = 30000) {
    QSignalSpy shown(window.get(), &MainWindow::runShown);
    start();
    return !shown.isEmpty() || shown.wait(limitMs);
  }
};

inline QString example(const char* name) {
  return QString(QEL_EXAMPLES_DIR) + "/" + name;
}

}  // namespace qel::gui::testing
