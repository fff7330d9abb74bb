#include "gui/gui_operator.h"

#include <QApplication>
#include <QThread>

#include "gui/message_box.h"
#include "gui/progress_window.h"
#include "gui/wait_window.h"

namespace qel::gui {

struct GuiOperator::Question {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  bool answer = false;
};

GuiOperator::GuiOperator(ProgressWindow& progress, WaitWindow& wait) : progress_(progress), wait_(wait) {
  // About 25 repaints a second while a run reports, however often it asks.
  redrawTimer_.setSingleShot(true);
  redrawTimer_.setInterval(40);
  connect(&redrawTimer_, &QTimer::timeout, this, [this] {
    if (sinks_.redraw) sinks_.redraw();
  });
}

GuiOperator::~GuiOperator() {
  abandonQuestions();
}

bool GuiOperator::onGuiThread() const {
  return QThread::currentThread() == thread();
}

void GuiOperator::post(std::function<void()> f) {
  if (onGuiThread())
    f();
  else
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void GuiOperator::message(std::string_view text, Icon icon) {
  post([this, t = std::string(text), icon] {
    if (scripted_)
      shownMessages.emplace_back(t, icon);
    else
      showMessage(parent_, t, icon);
  });
}

bool GuiOperator::askNow(std::string_view text) {
  if (scripted_) {
    shownMessages.emplace_back(std::string(text), Icon::Question);
    if (scriptedAnswers.empty()) return false;
    const bool a = scriptedAnswers.front();
    scriptedAnswers.erase(scriptedAnswers.begin());
    return a;
  }
  return askYesNo(parent_, text);
}

bool GuiOperator::ask(std::string_view text) {
  if (onGuiThread()) return askNow(text);
  auto q = std::make_shared<Question>();
  {
    std::lock_guard lock(questionsMutex_);
    if (refusing_) return false;
    questions_.push_back(q);
  }
  questionAdded_.notify_all();
  QMetaObject::invokeMethod(
      this,
      [this, q, t = std::string(text)] {
        {
          std::lock_guard lock(q->mutex);
          if (q->done) return;  // abandoned before it could be shown
        }
        const bool a = askNow(t);
        std::lock_guard lock(q->mutex);
        if (!q->done) q->answer = a, q->done = true;
        q->answered.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(q->mutex);
  q->answered.wait(lock, [&] { return q->done; });
  const bool answer = q->answer;
  lock.unlock();
  std::lock_guard listLock(questionsMutex_);
  std::erase(questions_, q);
  return answer;
}

void GuiOperator::waitForPendingQuestion() {
  std::unique_lock lock(questionsMutex_);
  questionAdded_.wait(lock, [this] { return !questions_.empty(); });
}

void GuiOperator::acceptQuestions() {
  std::lock_guard listLock(questionsMutex_);
  refusing_ = false;
}

void GuiOperator::abandonQuestions() {
  std::lock_guard listLock(questionsMutex_);
  refusing_ = true;
  for (auto& q : questions_) {
    std::lock_guard lock(q->mutex);
    q->done = true;
    q->answer = false;
    q->answered.notify_all();
  }
}

void GuiOperator::log(std::string_view line) {
  post([this, l = std::string(line)] {
    if (sinks_.log) sinks_.log(l);
  });
}

std::optional<std::string> GuiOperator::chooseFile(const FileChoice& choice) {
  std::optional<std::string> result;
  auto run = [&] {
    if (sinks_.chooseFile) result = sinks_.chooseFile(choice);
  };
  if (onGuiThread())
    run();
  else
    QMetaObject::invokeMethod(this, run, Qt::BlockingQueuedConnection);
  return result;
}

void GuiOperator::waitShow(std::string_view caption, std::string_view label) {
  post([this, c = std::string(caption), l = std::string(label)] { wait_.showWith(qs(c), qs(l)); });
}
void GuiOperator::waitLabel(std::string_view label) {
  post([this, l = std::string(label)] { wait_.setLabel(qs(l)); });
}
void GuiOperator::waitGaugeVisible(bool visible) {
  post([this, visible] { wait_.setGaugeVisible(visible); });
}
void GuiOperator::waitRange(int minimum, int maximum) {
  post([this, minimum, maximum] { wait_.setRange(minimum, maximum); });
}
void GuiOperator::waitProgress(int position) {
  post([this, position] { wait_.setProgress(position); });
}
void GuiOperator::waitClose() {
  post([this] { wait_.close(); });
}

void GuiOperator::progressShow() {
  post([this] { progress_.showWindow(); });
}
void GuiOperator::progressTestInfo(std::string_view test, std::string_view package, int cycles, int blocks) {
  post([this, t = std::string(test), p = std::string(package), cycles, blocks] {
    progress_.setTestInfo(qs(t), qs(p), cycles, blocks);
  });
}
void GuiOperator::progressLog(std::string_view line) {
  post([this, l = std::string(line)] { progress_.appendLog(qs(l)); });
}
void GuiOperator::progressProcess(std::string_view label) {
  post([this, l = std::string(label)] { progress_.setProcess(qs(l)); });
}
void GuiOperator::progressCountersVisible(bool visible) {
  post([this, visible] { progress_.setCountersVisible(visible); });
}
void GuiOperator::progressCounters(int errors, int mismatches) {
  post([this, errors, mismatches] { progress_.setCounters(errors, mismatches); });
}
void GuiOperator::progressGauge(int percent) {
  post([this, percent] { progress_.setGauge(percent); });
}
void GuiOperator::progressClose() {
  post([this] { progress_.close(); });
}

void GuiOperator::runStarted(RunKind kind) {
  post([this, kind] {
    if (sinks_.runStarted) sinks_.runStarted(kind);
  });
}
void GuiOperator::contactsUpdated() {
  post([this] {
    if (sinks_.contactsUpdated) sinks_.contactsUpdated();
  });
}
void GuiOperator::blockDone(int done, int blocks) {
  post([this, done, blocks] {
    if (sinks_.blockDone) sinks_.blockDone(done, blocks);
  });
}
void GuiOperator::runFinished(const RunEnd& end) {
  post([this, end] {
    if (sinks_.runFinished) sinks_.runFinished(end);
  });
}

void GuiOperator::errorCounter(std::string_view text) {
  post([this, t = std::string(text)] {
    if (sinks_.errorCounter) sinks_.errorCounter(t);
  });
}

void GuiOperator::redraw() {
  post([this] {
    if (!redrawTimer_.isActive()) redrawTimer_.start();
  });
}

}  // namespace qel::gui
