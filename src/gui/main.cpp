// qeltest: the desktop program of the tester.

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/settings.h"
#include "app/startup.h"
#include "engine/bench.h"
#include "gui/engine_run_control.h"
#include "gui/guarded_application.h"
#include "gui/gui_operator.h"
#include "gui/hand_off_server.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/progress_window.h"
#include "gui/qt_settings_store.h"
#include "gui/run_control.h"
#include "gui/russian_texts.h"
#include "gui/splash.h"
#include "gui/wait_window.h"

namespace {

bool displayAvailable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("offscreen") || platform.startsWith("minimal") || platform.startsWith("vnc"))
    return true;
#if defined(Q_OS_LINUX)
  return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fprintf(
        stderr,
        "qeltest: нет дисплея (DISPLAY не задан). Запустите под xvfb-run или с QT_QPA_PLATFORM=offscreen.\n"
        "qeltest: no display available (DISPLAY is not set); run it under xvfb-run, or with "
        "QT_QPA_PLATFORM=offscreen for a screenshot run.\n");
    return 2;
  }
  // Fractional screen scales draw the diagram's lines at their exact place, not rounded up.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  qel::gui::GuardedApplication application(argc, argv);
  QApplication::setApplicationName(qel::gui::qs(qel::app::kApplicationTitle));
  QApplication::setApplicationVersion(QEL_VERSION);
  qel::gui::installQtRussian(&application);

  qel::gui::Splash splash;
  splash.show();
  QApplication::processEvents();
  // The endpoint the family hands files to, made right after the splash.
  qel::gui::HandOffServer handOff(qel::app::kTesterEndpoint);
  const QString handOffFailure = handOff.listen();

  qel::engine::Bench bench;
  qel::app::Settings settings;
  qel::gui::QtSettingsStore store(qEnvironmentVariable("QEL_SETTINGS_DIR"));
  qel::gui::ProgressWindow progress;
  qel::gui::WaitWindow wait;
  qel::gui::GuiOperator op(progress, wait);
  application.onFailure = [&op](const std::string& text) {
    op.log(text);
    op.message(text, qel::Icon::Error);
  };

  // FormCreate binds the driver library first; without it the program ends.
  std::string failure;
  std::unique_ptr<qel::gui::EngineRunControl> runs =
      qel::gui::EngineRunControl::create(bench, settings, op, failure);
  if (!runs) {
    splash.close();
    qel::gui::showMessage(nullptr, qel::app::kCannotLoadLibrary + failure, qel::Icon::Error);
    return 1;
  }

  qel::gui::MainWindow window(
      {bench, settings, store, op, progress, wait, runs.get(), QApplication::applicationFilePath()});
  QObject::connect(&handOff, &qel::gui::HandOffServer::handOff, &window,
                   &qel::gui::MainWindow::receiveHandOff);
  if (!handOffFailure.isEmpty())
    op.log("Передача файлов от других программ недоступна: " + qel::gui::us(handOffFailure));
  // The settings as the window read them.
  runs->applySettings(settings);
  window.show();
  splash.close();

  // QEL_OPEN opens a test right after start; QEL_SCREENSHOT saves the window there and ends,
  // with the message boxes written to the console instead (for machines without a display).
  const QString autoload = qEnvironmentVariable("QEL_OPEN");
  const QString screenshot = qEnvironmentVariable("QEL_SCREENSHOT");
  if (!screenshot.isEmpty()) op.setScripted(true);
  QTimer::singleShot(0, &window, [&] {
    if (runs) runs->startupCheck(settings.testChannelsOnStart);
    if (!autoload.isEmpty()) window.loadFile(autoload);
    if (screenshot.isEmpty()) return;
    QTimer::singleShot(300, &window, [&] {
      for (const auto& [text, icon] : op.shownMessages)
        std::fprintf(stderr, "[%d] %s\n", int(icon), text.c_str());
      const bool saved = window.grab().save(screenshot);
      std::fprintf(stderr, saved ? "qeltest: wrote %s\n" : "qeltest: could not write %s\n",
                   qPrintable(screenshot));
      window.close();
    });
  });
  return QApplication::exec();
}
