#pragma once
// A test file cut into the reads the parser takes by position. The file is read as it is
// consumed, so a test of a million cycles never sits in memory as text.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/input_file.h"

namespace qel::testfile {

inline constexpr size_t kMaxLines = 999;             // the 1000th read fails the load
inline constexpr size_t kMaxLineLength = 1'000'000;  // characters of one read
// No file past this can load: every read at its longest, with CR LF.
inline constexpr size_t kMaxFileBytes = (kMaxLines + 1) * (kMaxLineLength + 2);

enum class LinesStatus { Ok, CannotOpen, TooManyLines, LineTooLong };

// Reads one after the other, as a text-mode reader makes them: a CR before the LF is dropped and
// a final line break leaves one more, empty, read.
class LineStream {
 public:
  // Opens a checked file: a regular file of a sane size.
  static LineStream open(const std::string& path);
  // Bytes already in memory (tests, fuzzing); they must outlive the stream.
  static LineStream over(std::string_view bytes);
  // A file that could not be read, for the reason given.
  static LineStream unreadable(std::string reason);

  // The next read, valid until the next call; false at the end of the file, or when it cannot be
  // read on (status() says why).
  bool next(std::string_view& line);
  LinesStatus status() const { return status_; }
  bool ok() const { return status_ == LinesStatus::Ok; }
  const std::string& reason() const { return reason_; }
  // Share of the file consumed, 0..100.
  int percent() const;

 private:
  LineStream() = default;
  bool accept(std::string_view text, std::string_view& line);
  bool fail(LinesStatus status, std::string reason = {});
  bool refill();

  fileio::InputHandle file_;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  const char* data_ = nullptr;
  size_t begin_ = 0, end_ = 0;  // bytes at hand, not yet taken
  uint64_t before_ = 0;         // bytes of the file that came before data_
  uint64_t total_ = 0;
  bool eof_ = false, done_ = false;
  size_t lines_ = 0;
  LinesStatus status_ = LinesStatus::Ok;
  std::string reason_;
};

// A whole file in memory, cut into lines (tests, fuzzing).
struct FileLines {
  using Status = LinesStatus;
  Status status = Status::Ok;
  std::string reason;                   // why the file could not be read, when CannotOpen
  std::string data;                     // the file's bytes, in the file's code page
  std::vector<std::string_view> lines;  // views into data, line breaks (and CR before LF) removed

  bool ok() const { return status == Status::Ok; }
  // The line at index k, empty past the end, in the file's code page.
  std::string_view raw(size_t k) const { return k < lines.size() ? lines[k] : std::string_view{}; }
};

FileLines splitFileLines(std::string data);
FileLines readFileLines(const std::string& path);

}  // namespace qel::testfile
