#include "tester/port_log.h"

namespace qel::tester {

void PortLog::add(std::string_view head, std::string_view text) {
  std::lock_guard lock(mutex_);
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
  {
    std::lock_guard lock(mutex_);
    if (!lines_.empty()) {
      lines_.back() += text;
      return;
    }
  }
  add(text, {});
}

void PortLog::clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

std::vector<std::string> PortLog::lines() const {
  std::lock_guard lock(mutex_);
  return {lines_.begin(), lines_.end()};
}

size_t PortLog::dropped() const {
  std::lock_guard lock(mutex_);
  return dropped_;
}

}  // namespace qel::tester
