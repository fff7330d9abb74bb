#pragma once
// The operator of the command-line tool: log lines and information go to `out`, errors and
// warnings to `err` (standard error by default); questions are answered from the command line
// (--yes) and printed with their answer. A null stream keeps that part silent.

#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "operator/operator.h"

namespace qel::cli {

class ConsoleOperator : public Operator {
 public:
  explicit ConsoleOperator(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}

  // Answer to every question; false is "No".
  bool answerYes = false;
  // Paths handed to file choices in order; when exhausted the choice is cancelled.
  std::deque<std::string> files;
  // Print log lines of the main log and of the progress window.
  bool printLog = true;
  // Print wait-window and progress-window events (captions, process labels).
  bool printProgress = false;

  void message(std::string_view text, Icon icon) override;
  bool ask(std::string_view text) override;
  void log(std::string_view line) override;
  std::optional<std::string> chooseFile(const FileChoice& choice) override;
  void waitShow(std::string_view caption, std::string_view label) override;
  void progressLog(std::string_view line) override;
  void progressProcess(std::string_view label) override;

  struct Message {
    std::string text;
    Icon icon;
  };
  std::vector<Message> messages() const;

  static const char* iconName(Icon icon);

 private:
  void line(const std::string& text, std::FILE* to);
  void line(const std::string& text) { line(text, out_); }
  std::FILE* out_;
  std::FILE* err_;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

}  // namespace qel::cli
