#include "app/reference_book.h"

#include "fileio/input_file.h"
#include "fileio/safe_save.h"
#include "text/codepage.h"
#include "text/upper_case.h"

namespace qel::app {

namespace {

// The longest book the line limits allow, with CR LF after every line.
constexpr std::uintmax_t kMaxBookBytes = kMaxBookLines * (kMaxBookLineLength + 2);

std::string replacePrefix(const std::string& path, std::string_view prefix, const std::string& folder) {
  if (path.compare(0, prefix.size(), prefix) != 0) return path;
  return folder + path.substr(prefix.size());
}

void refuse(Operator& op, const std::string& path, const std::string& why) {
  op.message(std::string(kCannotOpenBook) + "\n" + path + ": " + why, Icon::Error);
}

}  // namespace

BookFolders bookFolders(const std::string& dirTests, const std::string& dirPdf, const std::string& bookPath) {
  const auto slash = bookPath.find_last_of("/\\");
  const std::string own = slash == std::string::npos ? "." : bookPath.substr(0, slash);
  return {dirTests.empty() ? own : dirTests, dirPdf.empty() ? own : dirPdf};
}

std::string replaceTestsPrefix(const std::string& path, const BookFolders& folders) {
  return replacePrefix(path, kTestsPrefix, folders.tests);
}

std::string replaceDescPrefix(const std::string& path, const BookFolders& folders) {
  return replacePrefix(path, kDescPrefix, folders.docs);
}

std::string fileNamePart(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReferenceBook::loadBook(const std::string& path, const BookFolders& folders, Operator& op) {
  std::string bytes, reason;
  if (!fileio::readWholeFile(path, kMaxBookBytes, bytes, reason)) {
    refuse(op, path, reason);
    return false;
  }
  return loadBookBytes(bytes, path, folders, op);
}

bool ReferenceBook::loadBookBytes(std::string_view bytes, const std::string& path, const BookFolders& folders,
                                  Operator& op) {
  // Every line is checked before the book changes, so a refused file leaves the old book whole.
  std::vector<std::string_view> lines;
  for (size_t at = 0; at < bytes.size();) {
    auto end = bytes.find('\n', at);
    if (end == std::string_view::npos) end = bytes.size();
    auto line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    if (lines.size() == kMaxBookLines) {
      refuse(op, path, "более " + std::to_string(kMaxBookLines) + " строк");
      return false;
    }
    // A longer line would be cut into two records, the second a stray name.
    if (line.size() > kMaxBookLineLength) {
      refuse(op, path,
             "строка " + std::to_string(lines.size() + 1) + " длиннее " + std::to_string(kMaxBookLineLength) +
                 " символов");
      return false;
    }
    lines.push_back(line);
  }

  clearBook();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::string line = text::cp1251ToUtf8(lines[i]);
    if (line.front() == ' ') {
      // " INDEX PATH": the index is ignored.
      const auto blank = line.find(' ', 1);
      addEntry(
          replaceTestsPrefix(blank == std::string::npos ? std::string() : line.substr(blank + 1), folders));
      continue;
    }
    const auto bar = line.find('|');
    std::string title = bar == std::string::npos ? line : line.substr(0, bar);
    std::string doc = bar == std::string::npos ? line : line.substr(bar + 1);
    if (!addName(std::move(title), replaceTestsPrefix(doc, folders))) orphanLines_.push_back(i + 1);
  }
  // Once per book: a box for each skipped line would keep the user clicking through hundreds.
  if (orphanLines_.size() == 1) op.message(kNoFileLineYet, Icon::Warning);
  if (orphanLines_.size() > 1)
    op.message(std::string(kNoFileLineYet) + "\nПропущено строк: " + std::to_string(orphanLines_.size()),
               Icon::Warning);
  return true;
}

std::string ReferenceBook::saveBook(const std::string& path) const {
  std::string out;
  for (size_t i = 0; i < entries_.size(); ++i) {
    out += ' ' + std::to_string(i) + ' ' + text::utf8ToCp1251(entries_[i].testPath) + "\r\n";
    for (const auto& n : entries_[i].names)
      out += text::utf8ToCp1251(n.chipTitle) + '|' + text::utf8ToCp1251(n.docPath) + "\r\n";
  }
  return fileio::saveFile(path, out);
}

void ReferenceBook::clearBook() {
  entries_.clear();
  upperTitles_.clear();
  titleIndex_.clear();
  orphanLines_.clear();
}

void ReferenceBook::addEntry(std::string testPath) {
  entries_.push_back({std::move(testPath), {}});
}

bool ReferenceBook::addName(std::string chipTitle, std::string docPath) {
  if (entries_.empty()) return false;
  auto& names = entries_.back().names;
  upperTitles_.push_back(text::upperCase(chipTitle));
  titleIndex_.push_back({entries_.size() - 1, names.size()});
  names.push_back({std::move(chipTitle), std::move(docPath)});
  return true;
}

BookSearch ReferenceBook::search(std::string_view text) const {
  BookSearch s;
  s.text = text::upperCase(text);
  size_t lastEntry = SIZE_MAX;
  for (size_t k = 0; k < upperTitles_.size(); ++k) {
    if (!s.text.empty() && upperTitles_[k].find(s.text) == std::string::npos) continue;
    const auto& m = titleIndex_[k];
    if (s.matches.size() < kMaxResultLines) s.matches.push_back(m);
    ++s.totalMatches;
    // Names of one entry are stored together, so a new entry index is a new file.
    if (m.entry != lastEntry) ++s.matchingFiles;
    lastEntry = m.entry;
  }
  return s;
}

ChipLookup lookupChip(const ReferenceBook& book, std::string_view boxText) {
  if (boxText.empty()) return {};
  return judgeLookup(book, book.search(boxText));
}

ChipLookup judgeLookup(const ReferenceBook& book, BookSearch search) {
  ChipLookup l;
  if (search.text.empty()) return l;
  l.search = std::move(search);
  if (l.search.matchingFiles == 0) {
    l.outcome = ChipLookup::Outcome::NotFound;
    return l;
  }
  bool found = l.search.matchingFiles == 1;
  for (size_t i = 0; !found && i < l.search.matches.size(); ++i)
    found = text::upperCase(book.name(l.search.matches[i]).chipTitle) == l.search.text;
  l.outcome = found ? ChipLookup::Outcome::Found : ChipLookup::Outcome::Ambiguous;
  l.offer = l.search.matches.front();
  return l;
}

std::string chipFoundQuestion(const std::string& chipTitle) {
  return "Файл для микросхемы \"" + chipTitle + "\" найден. Загрузить?";
}

}  // namespace qel::app
