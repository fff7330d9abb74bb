#pragma once
// The operator of the desktop program. Calls from a worker are posted to the GUI thread in the
// order they are made; a worker's question waits for the answer. Repaints are throttled.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "operator/operator.h"

class QWidget;

namespace qel::gui {

class ProgressWindow;
class WaitWindow;

// What the operator reports to the main window.
struct OperatorSinks {
  std::function<void(const std::string&)> log;
  std::function<void(const std::string&)> errorCounter;
  std::function<void()> redraw;
  std::function<std::optional<std::string>(const FileChoice&)> chooseFile;
  std::function<void(RunKind)> runStarted;
  std::function<void()> contactsUpdated;
  std::function<void(int, int)> blockDone;
  std::function<void(const RunEnd&)> runFinished;
};

class GuiOperator : public QObject, public Operator {
  Q_OBJECT
 public:
  GuiOperator(ProgressWindow& progress, WaitWindow& wait);
  ~GuiOperator() override;

  void setSinks(OperatorSinks sinks) { sinks_ = std::move(sinks); }
  void setDialogParent(QWidget* parent) { parent_ = parent; }
  // Scripted answers and silent boxes, for tests: messages are recorded instead of shown.
  void setScripted(bool scripted) { scripted_ = scripted; }
  std::vector<std::pair<std::string, Icon>> shownMessages;
  std::vector<bool> scriptedAnswers;

  // Every question a worker waits on, or asks until acceptQuestions, is answered "No", so that
  // the GUI thread may wait for the worker.
  void abandonQuestions();
  void acceptQuestions();

  void message(std::string_view text, Icon icon) override;
  bool ask(std::string_view text) override;
  void log(std::string_view line) override;
  std::optional<std::string> chooseFile(const FileChoice& choice) override;

  void waitShow(std::string_view caption, std::string_view label) override;
  void waitLabel(std::string_view label) override;
  void waitGaugeVisible(bool visible) override;
  void waitRange(int minimum, int maximum) override;
  void waitProgress(int position) override;
  void waitClose() override;

  void progressShow() override;
  void progressTestInfo(std::string_view test, std::string_view package, int cycles, int blocks) override;
  void progressLog(std::string_view line) override;
  void progressProcess(std::string_view label) override;
  void progressCountersVisible(bool visible) override;
  void progressCounters(int errors, int mismatches) override;
  void progressGauge(int percent) override;
  void progressClose() override;

  void runStarted(RunKind kind) override;
  void contactsUpdated() override;
  void blockDone(int done, int blocks) override;
  void runFinished(const RunEnd& end) override;

  void errorCounter(std::string_view text) override;
  void redraw() override;

  // Blocks until a worker waits on a question (tests hold the GUI thread there, as "Отмена" does).
  void waitForPendingQuestion();

 private:
  bool onGuiThread() const;
  // Runs f on the GUI thread: at once there, queued in order from a worker.
  void post(std::function<void()> f);
  bool askNow(std::string_view text);

  struct Question;
  ProgressWindow& progress_;
  WaitWindow& wait_;
  QPointer<QWidget> parent_;
  OperatorSinks sinks_;
  bool scripted_ = false;
  QTimer redrawTimer_;
  std::mutex questionsMutex_;
  std::vector<std::shared_ptr<Question>> questions_;
  std::condition_variable questionAdded_;
  bool refusing_ = false;  // under questionsMutex_
};

}  // namespace qel::gui
