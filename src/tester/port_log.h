#pragma once
// The status log of the port layer (the console's memo). Bounded, so a long run of answer reads
// cannot grow it without end; the oldest lines go first. A window may read it while a worker
// writes it.

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qel::tester {

class PortLog {
 public:
  explicit PortLog(size_t capacity = 4000) : capacity_(capacity) {}

  void add(std::string line) { add(line, {}); }
  // head + text as one line, reusing the storage of the line that falls out.
  void add(std::string_view head, std::string_view text);
  void append(std::string_view text);
  void clear();

  // A copy of the lines, oldest first.
  std::vector<std::string> lines() const;
  // Lines dropped from the front since the start.
  size_t dropped() const;

 private:
  mutable std::mutex mutex_;
  size_t capacity_;
  size_t dropped_ = 0;
  std::deque<std::string> lines_;
};

}  // namespace qel::tester
