#include "cli/console_operator.h"

namespace qel::cli {

const char* ConsoleOperator::iconName(Icon icon) {
  switch (icon) {
    case Icon::Error:
      return "error";
    case Icon::Warning:
      return "warning";
    case Icon::Information:
      return "information";
    case Icon::Question:
      return "question";
  }
  return "message";
}

void ConsoleOperator::line(const std::string& text, std::FILE* to) {
  if (to == nullptr) return;
  std::lock_guard lock(mutex_);
  // What went to the other stream before must show before this line.
  if (std::FILE* other = to == err_ ? out_ : err_; other != nullptr) std::fflush(other);
  std::fprintf(to, "%s\n", text.c_str());
  std::fflush(to);
}

void ConsoleOperator::message(std::string_view text, Icon icon) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), icon});
  }
  const bool problem = icon == Icon::Error || icon == Icon::Warning;
  line(std::string("[") + std::to_string(int(icon)) + " " + iconName(icon) + "] " + std::string(text),
       problem ? err_ : out_);
}

bool ConsoleOperator::ask(std::string_view text) {
  line(std::string("[36 question] ") + std::string(text) + (answerYes ? " -> Да" : " -> Нет"));
  return answerYes;
}

void ConsoleOperator::log(std::string_view text) {
  if (printLog) line(std::string(text));
}

std::optional<std::string> ConsoleOperator::chooseFile(const FileChoice& choice) {
  std::string path;
  {
    std::lock_guard lock(mutex_);
    if (!files.empty()) {
      path = files.front();
      files.pop_front();
    }
  }
  line("[file] " + choice.filter + (path.empty() ? std::string(" -> cancelled") : " -> " + path));
  if (path.empty()) return std::nullopt;
  return path;
}

void ConsoleOperator::waitShow(std::string_view caption, std::string_view label) {
  if (printProgress) line("[wait] " + std::string(caption) + ": " + std::string(label));
}

void ConsoleOperator::progressLog(std::string_view text) {
  if (printLog) line(std::string(text));
}

void ConsoleOperator::progressProcess(std::string_view label) {
  if (printProgress) line("[process] " + std::string(label));
}

std::vector<ConsoleOperator::Message> ConsoleOperator::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

}  // namespace qel::cli
