#pragma once
// Records everything the core says, in order, and answers questions from a script.

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "operator/operator.h"

namespace qel::testing {

class RecordingOperator : public Operator {
 public:
  struct Message {
    std::string text;
    Icon icon;
    bool operator==(const Message&) const = default;
  };

  // Answers to ask(), in order; when exhausted, defaultAnswer.
  std::deque<bool> answers;
  bool defaultAnswer = false;
  // Answers to chooseFile(), in order; when exhausted, cancelled.
  std::deque<std::optional<std::string>> files;
  // Called with each transcript entry after it is recorded, on the thread that made it.
  std::function<void(const std::string&)> onEvent;
  // Called with each blockDone, on the engine's thread, after it is recorded.
  std::function<void(int, int)> onBlockDone;

  void message(std::string_view text, Icon icon) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), icon});
    events_.push_back("message " + std::to_string(static_cast<int>(icon)) + " " + std::string(text));
  }
  bool ask(std::string_view text) override {
    std::lock_guard lock(mutex_);
    events_.push_back("ask " + std::string(text));
    if (answers.empty()) return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void log(std::string_view line) override { record("log ", line); }
  std::optional<std::string> chooseFile(const FileChoice& choice) override {
    std::lock_guard lock(mutex_);
    events_.push_back("choose " + choice.filter);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
  void waitShow(std::string_view caption, std::string_view label) override {
    record("wait show ", std::string(caption) + " | " + std::string(label));
  }
  void waitLabel(std::string_view label) override { record("wait label ", label); }
  void waitRange(int lo, int hi) override {
    record("wait range ", std::to_string(lo) + ".." + std::to_string(hi));
  }
  void waitClose() override { record("wait close", ""); }
  void progressShow() override { record("progress show", ""); }
  void progressLog(std::string_view line) override { record("progress log ", line); }
  void progressProcess(std::string_view label) override { record("progress process ", label); }
  void progressCountersVisible(bool v) override { record("progress counters visible ", v ? "1" : "0"); }
  void progressCounters(int e, int m) override {
    std::lock_guard lock(mutex_);
    lastCounters_ = {e, m};
  }
  void progressClose() override { record("progress close", ""); }
  void runStarted(RunKind kind) override {
    std::lock_guard lock(mutex_);
    runStarts_.push_back(kind);
  }
  void blockDone(int done, int blocks) override {
    {
      std::lock_guard lock(mutex_);
      blocksDone_.emplace_back(done, blocks);
    }
    if (onBlockDone) onBlockDone(done, blocks);
  }
  void runFinished(const RunEnd& end) override {
    std::lock_guard lock(mutex_);
    runEnds_.push_back(end);
  }
  void errorCounter(std::string_view text) override {
    std::lock_guard lock(mutex_);
    errorCounter_ = std::string(text);
  }

  std::vector<Message> messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<std::string> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  // The run events, kept apart from the transcript.
  std::vector<RunKind> runStarts() const {
    std::lock_guard lock(mutex_);
    return runStarts_;
  }
  std::vector<RunEnd> runEnds() const {
    std::lock_guard lock(mutex_);
    return runEnds_;
  }
  std::vector<std::pair<int, int>> blocksDone() const {
    std::lock_guard lock(mutex_);
    return blocksDone_;
  }
  std::string errorCounterText() const {
    std::lock_guard lock(mutex_);
    return errorCounter_;
  }
  std::pair<int, int> lastCounters() const {
    std::lock_guard lock(mutex_);
    return lastCounters_;
  }
  // Lines of the given kind ("log ", "progress log "), prefix stripped.
  std::vector<std::string> lines(std::string_view kind) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& e : events_)
      if (e.rfind(kind, 0) == 0) out.push_back(e.substr(kind.size()));
    return out;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    events_.clear();
  }

 private:
  void record(std::string_view kind, std::string_view text) {
    std::string event = std::string(kind) + std::string(text);
    {
      std::lock_guard lock(mutex_);
      events_.push_back(event);
    }
    if (onEvent) onEvent(event);
  }
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::vector<std::string> events_;
  std::string errorCounter_;
  std::vector<RunKind> runStarts_;
  std::vector<RunEnd> runEnds_;
  std::vector<std::pair<int, int>> blocksDone_;
  std::pair<int, int> lastCounters_{0, 0};
};

}  // namespace qel::testing
