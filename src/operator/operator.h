#pragma once
// The one way the core talks to a person. The GUI shows windows, the CLI prints, tests record.
// Every call may come from a worker thread; an implementation marshals as it needs to.

#include <optional>
#include <string>
#include <string_view>

#include "operator/run_events.h"

namespace qel {

// Message box icons by their platform codes.
enum class Icon : int { Error = 16, Question = 36, Warning = 48, Information = 64 };

struct FileChoice {
  std::string filter;      // "Dat|*.dat" style: description|pattern pairs
  std::string defaultExt;  // without the dot, may be empty
  bool save = false;
  std::string initialName;  // the name the dialog proposes, may be empty
};

class Operator {
 public:
  virtual ~Operator() = default;

  // Modal message box captioned with the application title.
  virtual void message(std::string_view text, Icon icon) = 0;
  // Yes/No question; true for Yes.
  virtual bool ask(std::string_view text) = 0;
  // A line in the main log (Memo1).
  virtual void log(std::string_view line) = 0;
  // A file dialog; nullopt when cancelled.
  virtual std::optional<std::string> chooseFile(const FileChoice& choice) = 0;

  // The wait window (TFWait).
  virtual void waitShow(std::string_view caption, std::string_view label) { (void)caption, (void)label; }
  virtual void waitLabel(std::string_view label) { (void)label; }
  virtual void waitGaugeVisible(bool visible) { (void)visible; }
  virtual void waitRange(int minimum, int maximum) { (void)minimum, (void)maximum; }
  virtual void waitProgress(int position) { (void)position; }
  virtual void waitClose() {}

  // The test progress window (TForm2).
  virtual void progressShow() {}
  virtual void progressTestInfo(std::string_view test, std::string_view package, int cycles, int blocks) {
    (void)test, (void)package, (void)cycles, (void)blocks;
  }
  virtual void progressLog(std::string_view line) { (void)line; }
  virtual void progressProcess(std::string_view label) { (void)label; }
  virtual void progressCountersVisible(bool visible) { (void)visible; }
  virtual void progressCounters(int errors, int mismatches) { (void)errors, (void)mismatches; }
  virtual void progressGauge(int percent) { (void)percent; }
  virtual void progressClose() {}

  // A run has been launched, on the thread that launched it.
  virtual void runStarted(RunKind kind) { (void)kind; }
  // The contact records changed (reset at a launch, a snapshot, the marks, the jumper groups).
  virtual void contactsUpdated() {}
  // Blocks of a full test in the result diagram so far: 0 when the first is about to run.
  virtual void blockDone(int done, int blocks) { (void)done, (void)blocks; }
  // The run has ended and the bench is idle again.
  virtual void runFinished(const RunEnd& end) { (void)end; }

  // The error counter of the status bar (ErrText).
  virtual void errorCounter(std::string_view text) { (void)text; }
  // The views should repaint from the model.
  virtual void redraw() {}
};

// Answers nothing and shows nothing; for batch work where nobody is at the screen.
class SilentOperator : public Operator {
 public:
  void message(std::string_view, Icon) override {}
  bool ask(std::string_view) override { return false; }
  void log(std::string_view) override {}
  std::optional<std::string> chooseFile(const FileChoice&) override { return std::nullopt; }
};

}  // namespace qel
