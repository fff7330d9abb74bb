#pragma once
// A test file read whole into memory and cut into the reads the parser takes by position.

#include <string>
#include <string_view>
#include <vector>

namespace qel::testfile {

inline constexpr size_t kMaxLines = 999;             // the 1000th read fails the load
inline constexpr size_t kMaxLineLength = 1'000'000;  // characters of one read
// No file past this can load: every read at its longest, with CR LF.
inline constexpr size_t kMaxFileBytes = (kMaxLines + 1) * (kMaxLineLength + 2);

struct FileLines {
  enum class Status { Ok, CannotOpen, TooManyLines, LineTooLong };
  Status status = Status::Ok;
  std::string reason;                   // why the file could not be read, when CannotOpen
  std::string data;                     // the file's bytes, in the file's code page
  std::vector<std::string_view> lines;  // views into data, line breaks (and CR before LF) removed

  bool ok() const { return status == Status::Ok; }
  // The line at index k, empty past the end, in the file's code page.
  std::string_view raw(size_t k) const { return k < lines.size() ? lines[k] : std::string_view{}; }
};

// Splits like a text-mode reader: a final line break leaves one more, empty, read.
FileLines splitFileLines(std::string data);
FileLines readFileLines(const std::string& path);

}  // namespace qel::testfile
