#include "app/reference_book.h"

#include <gtest/gtest.h>

#include <fstream>

#include "recording_operator.h"
#include "temp_files.h"
#include "text/codepage.h"

namespace qel::app {
namespace {

using testing::RecordingOperator;
using testing::TempDir;

const BookFolders kFolders{"/lib/tests", "/lib/pdf"};

// A book as the program stores it: cp1251, CR LF.
std::string bookBytes(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += text::utf8ToCp1251(l) + "\r\n";
  return out;
}

ReferenceBook loaded(const std::vector<std::string>& lines, RecordingOperator& op) {
  ReferenceBook book;
  EXPECT_TRUE(book.loadBookBytes(bookBytes(lines), "book.lib", kFolders, op));
  return book;
}

std::vector<std::string> titles(const ReferenceBook& book, const BookSearch& s) {
  std::vector<std::string> out;
  for (const auto& m : s.matches) out.push_back(book.name(m).chipTitle);
  return out;
}

TEST(ReferenceBook, ReadsFileAndNameLinesWithBothPrefixes) {
  RecordingOperator op;
  const auto book = loaded({" 0 <Tests>:\\К555ИЕ7.qel", "К555ИЕ7|<Desc>:\\ie7.pdf",
                            "SN74LS193N|<Tests>:/d.pdf", "", " 17 /abs/path with blank.qel", "7400"},
                           op);
  EXPECT_TRUE(op.messages().empty());
  ASSERT_EQ(book.entries().size(), 2u);
  // Plain concatenation: nothing inserted between the folder and the rest.
  EXPECT_EQ(book.entries()[0].testPath, "/lib/tests\\К555ИЕ7.qel");
  EXPECT_EQ(book.entries()[0].names[0], (ChipName{"К555ИЕ7", "<Desc>:\\ie7.pdf"}));
  EXPECT_EQ(book.entries()[0].names[1].docPath, "/lib/tests/d.pdf");
  EXPECT_EQ(book.entries()[1].testPath, "/abs/path with blank.qel");
  // Without "|" the whole text is the name and the documentation path.
  EXPECT_EQ(book.entries()[1].names[0], (ChipName{"7400", "7400"}));
  EXPECT_EQ(replaceDescPrefix(book.entries()[0].names[0].docPath, kFolders), "/lib/pdf\\ie7.pdf");
  EXPECT_EQ(replaceDescPrefix("x<Desc>:", kFolders), "x<Desc>:");
}

TEST(ReferenceBook, NameLineBeforeAnyFileLineIsReportedAndSkipped) {
  RecordingOperator op;
  const auto book = loaded({"ЛА3|la3.pdf", " 0 a.qel", "7400|"}, op);
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0], (RecordingOperator::Message{kNoFileLineYet, Icon::Warning}));
  ASSERT_EQ(book.entries().size(), 1u);
  EXPECT_EQ(book.nameCount(), 1u);
  EXPECT_EQ(book.orphanNameLines(), std::vector<size_t>{1});

  // Many such lines are reported once, not a box for each.
  const auto again = loaded({"a", "", "b", "c", " 0 x.qel", "d"}, op);
  ASSERT_EQ(op.messages().size(), 2u);
  EXPECT_EQ(op.messages()[1].text, std::string(kNoFileLineYet) + "\nПропущено строк: 3");
  EXPECT_EQ(again.orphanNameLines(), (std::vector<size_t>{1, 3, 4}));
  EXPECT_EQ(again.nameCount(), 1u);
}

TEST(ReferenceBook, OversizedBookIsRefusedAndTheOldOneKept) {
  RecordingOperator op;
  auto book = loaded({" 0 a.qel", "7400|"}, op);
  const auto before = book.entries();

  std::string many;
  for (size_t i = 0; i < kMaxBookLines; ++i) many += "\r\n";
  EXPECT_TRUE(book.loadBookBytes(many, "empty.lib", kFolders, op)) << "99,999 lines are allowed";
  EXPECT_TRUE(book.entries().empty());

  book = loaded({" 0 a.qel", "7400|"}, op);
  EXPECT_FALSE(book.loadBookBytes(many + "\r\n", "big.lib", kFolders, op));
  EXPECT_EQ(book.entries(), before);
  EXPECT_TRUE(book.loadBookBytes(" 0 " + std::string(996, 'a') + "\n", "", kFolders, op)) << "999 characters";
  book = loaded({" 0 a.qel", "7400|"}, op);
  EXPECT_FALSE(book.loadBookBytes(" 0 a.qel\n" + std::string(1000, 'A') + "\n", "long.lib", kFolders, op));
  EXPECT_EQ(book.entries(), before);
  ASSERT_GE(op.messages().size(), 2u);
  EXPECT_EQ(op.messages().back().icon, Icon::Error);
  EXPECT_EQ(op.messages().back().text.rfind(kCannotOpenBook, 0), 0u);
  EXPECT_NE(op.messages().back().text.find("long.lib"), std::string::npos);
}

TEST(ReferenceBook, MissingOrFolderFileIsRefused) {
  TempDir dir;
  RecordingOperator op;
  ReferenceBook book;
  EXPECT_FALSE(book.loadBook(dir.file("none.lib"), kFolders, op));
  EXPECT_FALSE(book.loadBook(dir.path().string(), kFolders, op));
  ASSERT_EQ(op.messages().size(), 2u);
  EXPECT_EQ(op.messages()[1].text.rfind(kCannotOpenBook, 0), 0u);
}

TEST(ReferenceBook, SearchIgnoresCaseAndCountsFilesOnce) {
  RecordingOperator op;
  const auto book = loaded({" 0 ie7.qel", "К555ИЕ7|", "КР1533ИЕ7|", "sn74ls193|", " 1 ie6.qel", "к555ие6|",
                            " 2 la3.qel", "К155ЛА3|"},
                           op);
  auto s = book.search("ие7");
  EXPECT_EQ(s.text, "ИЕ7");
  EXPECT_EQ(titles(book, s), (std::vector<std::string>{"К555ИЕ7", "КР1533ИЕ7"}));
  EXPECT_EQ(s.matchingFiles, 1);
  s = book.search("К555ИЕ");
  EXPECT_EQ(titles(book, s), (std::vector<std::string>{"К555ИЕ7", "к555ие6"}));
  EXPECT_EQ(s.matchingFiles, 2);
  s = book.search("SN74LS");
  EXPECT_EQ(titles(book, s), (std::vector<std::string>{"sn74ls193"}));
  s = book.search("");
  EXPECT_EQ(s.matches.size(), 5u);
  EXPECT_EQ(s.matchingFiles, 3);
  EXPECT_EQ(book.search("ЛА4").matchingFiles, 0);
}

TEST(ReferenceBook, ResultListStopsAtItsLimitButFilesAreAllCounted) {
  ReferenceBook book;
  for (size_t i = 0; i < kMaxResultLines + 5; ++i) {
    book.addEntry("t" + std::to_string(i));
    book.addName("CHIP" + std::to_string(i), "");
  }
  const auto s = book.search("chip");
  EXPECT_EQ(s.matches.size(), kMaxResultLines);
  EXPECT_EQ(s.totalMatches, kMaxResultLines + 5);
  EXPECT_EQ(s.matchingFiles, int(kMaxResultLines + 5));
}

TEST(ReferenceBook, SavedBookLoadsBackEqualWithItsDocumentation) {
  TempDir dir;
  RecordingOperator op;
  const auto book = loaded({" 0 <Tests>:/ie7.qel", "К555ИЕ7|<Desc>:/ie7.pdf", "74LS193", "пусто|",
                            " 5 /x/la3.qel", "К155ЛА3|/doc/la3 x.pdf"},
                           op);
  ASSERT_TRUE(book.saveBook(dir.file("book.spr")).empty());
  const auto bytes = testing::readBytes(dir.file("book.spr"));
  EXPECT_EQ(bytes.substr(0, 18), " 0 /lib/tests/ie7.") << "cp1251 file lines, indices from 0";
  EXPECT_NE(bytes.find(text::utf8ToCp1251("К555ИЕ7|<Desc>:/ie7.pdf\r\n")), std::string::npos);

  ReferenceBook again;
  ASSERT_TRUE(again.loadBook(dir.file("book.spr"), kFolders, op));
  EXPECT_EQ(again.entries(), book.entries());
  EXPECT_TRUE(op.messages().empty());
  EXPECT_EQ(again.search("ла3").matchingFiles, 1);

  // A refused save leaves the file as it was.
  EXPECT_FALSE(book.saveBook(dir.path().string()).empty());
}

TEST(ChipLookup, OneFileOffersAtOnceSeveralWaitForAnExactName) {
  RecordingOperator op;
  const auto book =
      loaded({" 0 ie7.qel", "К555ИЕ7|", "К555ИЕ7А|", " 1 ie6.qel", "К555ИЕ6|", " 2 x.qel", "К555ИЕ71|"}, op);
  EXPECT_EQ(lookupChip(book, "").outcome, ChipLookup::Outcome::Empty);
  EXPECT_EQ(lookupChip(book, "ла").outcome, ChipLookup::Outcome::NotFound);
  EXPECT_EQ(lookupChip(book, "к555").outcome, ChipLookup::Outcome::Ambiguous);
  auto l = lookupChip(book, "ие6");
  EXPECT_EQ(l.outcome, ChipLookup::Outcome::Found);
  EXPECT_EQ(book.name(l.offer).chipTitle, "К555ИЕ6");
  // Two files carry "К555ИЕ7"; the typed text equals a listed name, and the first line is offered.
  l = lookupChip(book, "к555ие7");
  EXPECT_EQ(l.outcome, ChipLookup::Outcome::Found);
  EXPECT_EQ(book.name(l.offer).chipTitle, "К555ИЕ7");
  EXPECT_EQ(book.entries()[l.offer.entry].testPath, "ie7.qel");
  EXPECT_EQ(chipFoundQuestion("К555ИЕ7"), "Файл для микросхемы \"К555ИЕ7\" найден. Загрузить?");
}

}  // namespace
}  // namespace qel::app
