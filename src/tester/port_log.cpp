#include "tester/port_log.h"

namespace qel::tester {

void PortLog::add(std::string line) {
  if (capacity_ == 0) return;
  if (lines_.size() == capacity_) {
    lines_.pop_front();
    ++dropped_;
  }
  lines_.push_back(std::move(line));
}

void PortLog::add(std::string_view head, std::string_view text) {
  if (capacity_ == 0) return;
  std::string line;
  if (lines_.size() == capacity_) {
    line = std::move(lines_.front());
    lines_.pop_front();
    ++dropped_;
  }
  line.assign(head);
  line.append(text);
  lines_.push_back(std::move(line));
}

void PortLog::append(std::string_view text) {
  if (lines_.empty())
    add(std::string(text));
  else
    lines_.back() += text;
}

}  // namespace qel::tester
