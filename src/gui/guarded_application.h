#pragma once
// The application object of the desktop program: an exception that escapes an event handler is
// reported and the event dropped, so the window and the test in it stay, instead of the process
// aborting with the user's unsaved result.

#include <QApplication>
#include <functional>
#include <string>

namespace qel::gui {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;

  // Where the failure is told; a plain message box when unset.
  std::function<void(const std::string&)> onFailure;

 private:
  void report(const std::string& what);
  bool reporting_ = false;
};

}  // namespace qel::gui
