#pragma once
// The status log of the port layer (the console's memo). Bounded, so a long run of answer reads
// cannot grow it without end; the oldest lines go first.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qel::tester {

class PortLog {
public:
  explicit PortLog(size_t capacity = 4000) : capacity_(capacity) {}

  void add(std::string line);
  // head + text as one line, reusing the storage of the line that falls out.
  void add(std::string_view head, std::string_view text);
  void append(std::string_view text);
  void clear() { lines_.clear(); }

  const std::deque<std::string>& lines() const { return lines_; }
  std::vector<std::string> snapshot() const { return {lines_.begin(), lines_.end()}; }
  // Lines dropped from the front since the start.
  size_t dropped() const { return dropped_; }

private:
  size_t capacity_;
  size_t dropped_ = 0;
  std::deque<std::string> lines_;
};

}  // namespace qel::tester
