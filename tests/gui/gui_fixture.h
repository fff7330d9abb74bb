#pragma once
// One main window with everything it is given, as the program builds it, over an in-memory
// settings store and scripted message boxes.

#include <QApplication>
#include <memory>

#include "app/settings.h"
#include "app/settings_store.h"
#include "app/workspace.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/progress_window.h"
#include "gui/run_control.h"
#include "gui/wait_window.h"
#ifdef QEL_HAVE_ENGINE
#include "gui/engine_run_control.h"
#endif

namespace qel::gui::testing {

struct Harness {
  app::MemorySettingsStore store;
  app::Workspace ws;
  app::Settings settings;
  ProgressWindow progress;
  WaitWindow wait;
  GuiOperator op{progress, wait};
  std::unique_ptr<RunControl> runs;
  std::unique_ptr<MainWindow> window;

  // withTester: bind the tester library that QEL_TESTER chooses (the virtual one in the tests).
  explicit Harness(bool withTester = false, bool scripted = true) {
    op.setScripted(scripted);
#ifdef QEL_HAVE_ENGINE
    if (withTester) {
      std::string failure;
      runs = EngineRunControl::create(ws, settings, op, failure);
    }
#else
    (void)withTester;
#endif
    window = std::make_unique<MainWindow>(
        MainWindowParts{ws, settings, store, op, progress, wait, runs.get(), "/opt/qel/qeltest"});
    window->quitOnClose = false;
#ifdef QEL_HAVE_ENGINE
    if (runs) static_cast<EngineRunControl*>(runs.get())->applySettings(settings);
#endif
    window->resize(725, 520);
    window->show();
    QApplication::processEvents();
  }
  ~Harness() {
    if (window) window->close();
  }
  bool runFinished() const {
    return !ws.busy && (!runs || !runs->running());
  }
};

inline QString example(const char* name) {
  return QString(QEL_EXAMPLES_DIR) + "/" + name;
}

}  // namespace qel::gui::testing
