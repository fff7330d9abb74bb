#pragma once
// The search of the cycles in which a data word shows a value (TFSearch), by text as the table
// shows it, done in slices so that the window stays live over millions of rows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "views/table_rows.h"

namespace qel::views {

class ValueSearch {
 public:
  // word: index of the word searched; typed: the value field's text.
  ValueSearch(TableRows& rows, int word, std::string_view typed);

  // Works through at most budget rows; true when the search is complete.
  bool step(int64_t budget);
  bool done() const { return phase_ == Phase::Done; }
  // The pattern: upper case, left-padded with "0" to the width of the word's first defined
  // reference value. Final once the first phase is over (done() or progress past it).
  const std::string& pattern() const { return pattern_; }
  // Rows looked at of all the rows of both phases.
  int64_t progress() const { return progress_; }
  int64_t total() const { return 2 * rowsOfWord_; }
  // Cycles where the reference or the result shows the pattern, each once, ascending.
  const std::vector<int32_t>& cycles() const { return cycles_; }

 private:
  enum class Phase { Width, Match, Done };
  int64_t rowOf(int64_t k) const;  // k-th row of the word

  TableRows& rows_;
  int word_;
  std::string pattern_;
  Phase phase_ = Phase::Width;
  int64_t next_ = 0;
  int64_t rowsOfWord_ = 0;
  int64_t progress_ = 0;
  std::vector<int32_t> cycles_;
};

}  // namespace qel::views
