#pragma once
// The chip reference book (TSprav): chip names and their synonyms mapped to test files and
// documentation files, kept in a cp1251 text file of file lines and name lines.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "operator/operator.h"

namespace qel::app {

inline constexpr const char* kTestsPrefix = "<Tests>:";
inline constexpr const char* kDescPrefix = "<Desc>:";
inline constexpr const char* kCannotOpenBook = "Невозможно открыть файл";
inline constexpr const char* kNoFileLineYet = "Список файлов пуст. Сначала необходимо добавить файл";
inline constexpr const char* kBookOpenFilter = "Справочники|*.lib|Все файлы|*.*";
inline constexpr const char* kBookSaveFilter = "Справочники|*.spr";
inline constexpr const char* kBookExtension = "spr";
inline constexpr size_t kMaxBookLines = 99999;
inline constexpr size_t kMaxBookLineLength = 999;  // characters, without the line break
// The result list shows this many names; matchingFiles still counts every file.
inline constexpr size_t kMaxResultLines = 10000;

struct ChipName {
  std::string chipTitle;
  std::string docPath;  // may still begin with "<Desc>:"
  bool operator==(const ChipName&) const = default;
};

struct BookEntry {
  std::string testPath;  // "<Tests>:" already replaced
  std::vector<ChipName> names;
  bool operator==(const BookEntry&) const = default;
};

// The folders the two prefixes stand for ("Dir_Tests", "Dir_PDF"), joined by plain concatenation.
struct BookFolders {
  std::string tests;
  std::string docs;
};

// "Dir_Tests" and "Dir_PDF", each taken as the book's own folder while it is not set, so that a
// book shipped beside its tests works before the folders are configured.
BookFolders bookFolders(const std::string& dirTests, const std::string& dirPdf, const std::string& bookPath);

std::string replaceTestsPrefix(const std::string& path, const BookFolders& folders);
std::string replaceDescPrefix(const std::string& path, const BookFolders& folders);

// The text after the last '/' or '\'.
std::string fileNamePart(const std::string& path);

struct BookMatch {
  size_t entry = 0;
  size_t name = 0;
};

struct BookSearch {
  std::string text;                // upper case
  std::vector<BookMatch> matches;  // at most kMaxResultLines, in book order
  size_t totalMatches = 0;         // every matching name, beyond the list's limit too
  int matchingFiles = 0;           // entries with at least one matching name
};

class ReferenceBook {
 public:
  // Clears the book and reads the file. False when the file cannot be read or is too large,
  // with "Невозможно открыть файл" shown and the book left as it was. Name lines before any
  // file line are skipped and reported together, once.
  bool loadBook(const std::string& path, const BookFolders& folders, Operator& op);
  // The same from bytes already read (tests, fuzzing); path only names the file in messages.
  bool loadBookBytes(std::string_view bytes, const std::string& path, const BookFolders& folders,
                     Operator& op);
  // Writes every entry and name, documentation paths included, so the book loads back equal.
  // Empty on success, else why it failed.
  std::string saveBook(const std::string& path) const;
  void clearBook();

  // Upper-case substring search; an empty text lists every name.
  BookSearch search(std::string_view text) const;

  void addEntry(std::string testPath);
  // False when there is no entry yet to add it to.
  bool addName(std::string chipTitle, std::string docPath);

  const std::vector<BookEntry>& entries() const { return entries_; }
  // Line numbers (from 1) of the name lines the last load skipped for want of a file line.
  const std::vector<size_t>& orphanNameLines() const { return orphanLines_; }
  size_t nameCount() const { return upperTitles_.size(); }
  const ChipName& name(const BookMatch& m) const { return entries_[m.entry].names[m.name]; }

 private:
  std::vector<BookEntry> entries_;
  // Every name in upper case, in book order, beside where it came from: one scan per keystroke.
  std::vector<std::string> upperTitles_;
  std::vector<BookMatch> titleIndex_;
  std::vector<size_t> orphanLines_;
};

// What the chip-name box offers for its text (NamesChange): the chip counts as found when one
// file has matching names or a listed name equals the text; the offer is then the first listed
// name, which may be another name containing the text.
struct ChipLookup {
  enum class Outcome { Empty, Found, Ambiguous, NotFound } outcome = Outcome::Empty;
  BookSearch search;
  BookMatch offer;
};
ChipLookup lookupChip(const ReferenceBook& book, std::string_view boxText);
// The same from a search already made for the box's text.
ChipLookup judgeLookup(const ReferenceBook& book, BookSearch search);

// "Файл для микросхемы "NAME" найден. Загрузить?"
std::string chipFoundQuestion(const std::string& chipTitle);
inline constexpr const char* kChipFileNotFound = "Файл не найден";

}  // namespace qel::app
