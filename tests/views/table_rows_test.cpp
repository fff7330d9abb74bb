#include <gtest/gtest.h>

#include "views/cell_grid.h"
#include "views/table_rows.h"
#include "views/value_search.h"

using namespace qel;
using namespace qel::views;

namespace {

// words of 4 pins each (pins 4w+1 .. 4w+4); word w in cycle c has the value (c + w) mod 16,
// result = reference except where noted.
TestDescription wordsTest(int words, int cycles, int radix = 16) {
  TestDescription t;
  t.resetForStartup();
  t.pinCount = 4 * words;
  t.setCycleCount(cycles);
  t.dataWordCount = words;
  for (int w = 0; w < words; ++w) {
    t.words[size_t(w)].name = std::string(1, char('A' + w));
    t.words[size_t(w)].radix = radix;
    for (int b = 0; b < 4; ++b) t.words[size_t(w)].pins[size_t(b + 1)] = 4 * w + b + 1;
  }
  t.clearResults();
  for (int c = 1; c <= cycles; ++c)
    for (int w = 0; w < words; ++w)
      for (int b = 0; b < 4; ++b) t.setLevel(4 * w + b + 1, c, uint8_t(((c + w) % 16 >> b) & 1));
  return t;
}

std::vector<int32_t> search(TableRows& rows, int word, const char* typed, std::string* pattern = nullptr) {
  ValueSearch s(rows, word, typed);
  while (!s.step(7)) {
  }
  if (pattern) *pattern = s.pattern();
  return s.cycles();
}

}  // namespace

TEST(TableRows, NormalLayoutRowsAndCycles) {
  TestDescription t = wordsTest(3, 1000);
  TableRows rows(t);
  rows.invalidate();
  EXPECT_EQ(rows.rowCount(), 3000);
  EXPECT_EQ(rows.rowOfCycle(10), 27);
  const TableRow r = rows.row(28);  // cycle 10, word 1
  EXPECT_EQ(r.cycle, 10);
  EXPECT_EQ(r.word, 1);
  EXPECT_EQ(r.reference, "B");
  EXPECT_EQ(r.result, kUndefined);
  EXPECT_EQ(rows.row(3000).cycle, -1);  // beyond the end: the empty record
  EXPECT_EQ(rows.row(-1).cycle, -1);

  TestDescription none = wordsTest(0, 50);
  TableRows empty(none);
  empty.invalidate();
  EXPECT_EQ(empty.rowCount(), 0);
  empty.start();
  empty.wait();
  EXPECT_EQ(empty.row(0).cycle, -1);
}

TEST(TableRows, RomLayoutHasTwoRowsAnAddress) {
  TestDescription t = wordsTest(3, 40);
  t.templateCycles = 4;
  RomParams& rom = t.algorithms.rom;
  t.algorithms.select(2);
  rom.addressWord = 2;  // listed second: the rows follow the word order
  rom.addressCycle = 1;
  rom.dataWord = 0;
  rom.dataCycle = 3;
  rom.startAddress = 5;
  rom.finalAddress = 14;
  TableRows rows(t);
  rows.invalidate();
  ASSERT_TRUE(rows.layout().rom());
  EXPECT_EQ(rows.rowCount(), 20);
  EXPECT_EQ(rows.row(0).cycle, 3);
  EXPECT_EQ(rows.row(0).word, 0);
  EXPECT_EQ(rows.row(1).cycle, 1);
  EXPECT_EQ(rows.row(1).word, 2);
  EXPECT_EQ(rows.row(7).cycle, 4 * 3 + 1);
  // A cycle selects the row of its address whose cycle is the last one not after it.
  EXPECT_EQ(rows.rowOfCycle(13), 7);  // address word, cycle 13
  EXPECT_EQ(rows.rowOfCycle(15), 6);  // data word at 15
  EXPECT_EQ(rows.rowOfCycle(16), 6);
  EXPECT_EQ(rows.rowOfCycle(40), 19 - 1);
  // More addresses than the test holds cycles for: only those it holds.
  rom.finalAddress = 1000;
  rows.invalidate();
  EXPECT_EQ(rows.rowCount(), 20);
}

TEST(TableRows, FillMatchesOnDemandAndStopsOnInvalidate) {
  TestDescription t = wordsTest(2, 20000, 2);
  TableRows rows(t);
  rows.invalidate();
  std::vector<TableRow> onDemand;
  for (int64_t a : {int64_t(0), int64_t(1), int64_t(39999), int64_t(12345)}) onDemand.push_back(rows.row(a));
  rows.invalidate();
  rows.start();
  // Rows asked for while the fill runs come at once, computed on demand.
  EXPECT_EQ(rows.row(39999).reference, onDemand[2].reference);
  rows.wait();
  EXPECT_FALSE(rows.filling());
  EXPECT_EQ(rows.progress(), rows.steps());
  size_t i = 0;
  for (int64_t a : {int64_t(0), int64_t(1), int64_t(39999), int64_t(12345)}) {
    const TableRow r = rows.row(a);
    EXPECT_EQ(r.cycle, onDemand[i].cycle);
    EXPECT_EQ(r.reference, onDemand[i].reference);
    EXPECT_EQ(r.result, onDemand[i].result);
    ++i;
  }
  // The test changes: a new fill sees the new values, not the cached ones.
  t.setLevel(1, 1, uint8_t(!t.level(1, 1)));
  rows.invalidate();
  rows.start();
  rows.wait();
  EXPECT_NE(rows.row(0).reference, onDemand[0].reference);
  rows.start();  // already filled: nothing to do
  EXPECT_FALSE(rows.filling());
  rows.invalidate();  // a stop in the middle leaves rows that are computed on demand
  rows.start();
  rows.invalidate();
  EXPECT_EQ(rows.row(1).reference, onDemand[1].reference);
}

TEST(ValueSearch, PadsAndFindsEachCycleOnce) {
  TestDescription t = wordsTest(2, 40);  // 4-pin words in radix 16: one digit
  TableRows rows(t);
  rows.invalidate();
  std::string pattern;
  EXPECT_EQ(search(rows, 1, "a", &pattern), (std::vector<int32_t>{9, 25}));
  EXPECT_EQ(pattern, "A");

  // An 8-pin word: "a" is looked for as "0A".
  t.pinCount = 8;
  for (int b = 0; b < 4; ++b) t.words[0].pins[size_t(b + 5)] = 4 + b + 1;
  rows.invalidate();
  search(rows, 0, "a", &pattern);
  EXPECT_EQ(pattern, "0A");

  // Present in both diagrams in one cycle: listed once.
  for (int b = 0; b < 4; ++b)
    for (int c = 1; c <= 40; ++c) t.setResultCode(4 + b + 1, c, uint8_t(t.level(4 + b + 1, c) + 1));
  rows.invalidate();
  EXPECT_EQ(search(rows, 1, "3"), (std::vector<int32_t>{2, 18, 34}));

  // Every reference value undefined: the pattern stays as typed, and the result still matches.
  for (int c = 1; c <= 40; ++c) t.setLevel(5, c, 2);
  rows.invalidate();
  EXPECT_EQ(search(rows, 1, "b", &pattern), (std::vector<int32_t>{10, 26}));
  EXPECT_EQ(pattern, "B");
  EXPECT_TRUE(search(rows, 5, "1").empty());  // no such word
}

TEST(CellGrid, OnlyTheVisibleCells) {
  const CellRange r = visibleCells(32, 8197, 32, 16, 32 * 8000 + 5, 16 * 3, 700, 200);
  EXPECT_EQ(r.firstColumn, 8000);
  EXPECT_EQ(r.columnEnd, 8023);  // partly shown columns count
  EXPECT_EQ(r.firstRow, 3);
  EXPECT_EQ(r.rowEnd, 16);
  const CellRange end = visibleCells(32, 8197, 32, 16, 32 * 8197, 16 * 40, 700, 200);
  EXPECT_TRUE(end.empty());
  EXPECT_TRUE(visibleCells(32, 8197, 32, 16, 0, 0, 0, 200).empty());
}
