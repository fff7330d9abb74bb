#include "views/value_search.h"

#include <cctype>

namespace qel::views {

ValueSearch::ValueSearch(TableRows& rows, int word, std::string_view typed) : rows_(rows), word_(word) {
  for (char c : typed) pattern_ += char(std::toupper(static_cast<unsigned char>(c)));
  const TableLayout& l = rows_.layout();
  if (word < 0 || word >= l.words() || rows_.rowCount() == 0) {
    phase_ = Phase::Done;
    return;
  }
  // One row of the word per cycle, or per address in the ROM layout: the word's rows by the
  // layout, not every words()-th row, which in the ROM layout would mix both words.
  rowsOfWord_ = l.steps();
}

int64_t ValueSearch::rowOf(int64_t k) const {
  const TableLayout& l = rows_.layout();
  if (!l.rom()) return k * l.words() + word_;
  // The first row of the address that shows the word; -1 when neither does.
  const int64_t first = 2 * k;
  if (l.cellOf(first).word == word_) return first;
  if (l.cellOf(first + 1).word == word_) return first + 1;
  return -1;
}

bool ValueSearch::step(int64_t budget) {
  TableCell cell;
  WordBits ref, res;
  while (phase_ != Phase::Done && budget-- > 0) {
    if (next_ >= rowsOfWord_) {
      if (phase_ == Phase::Width) {
        if (pattern_.empty()) pattern_ = "0";  // width 1 when no value is defined
        phase_ = Phase::Match;
        progress_ = rowsOfWord_;
        next_ = 0;
      } else {
        phase_ = Phase::Done;
      }
      continue;
    }
    const int64_t a = rowOf(next_++);
    ++progress_;
    if (a < 0 || !rows_.values(a, cell, ref, res)) continue;
    if (phase_ == Phase::Width) {
      if (ref.undefined) continue;
      const size_t width = rows_.text(ref).size();
      if (pattern_.size() < width) pattern_.insert(0, width - pattern_.size(), '0');
      // Only the first defined value sets the width.
      progress_ = rowsOfWord_;
      next_ = rowsOfWord_;
      continue;
    }
    if (rows_.text(ref) == pattern_ || rows_.text(res) == pattern_) cycles_.push_back(cell.cycle);
  }
  return phase_ == Phase::Done;
}

}  // namespace qel::views
