#include "testfile/file_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qel::testfile {

namespace {
// Read this much at a time; a line carried over from one read to the next is at most a read long.
constexpr size_t kChunk = size_t(4) << 20;
constexpr size_t kCarry = kMaxLineLength + 2;
}  // namespace

LineStream LineStream::open(const std::string& path) {
  LineStream s;
  std::uintmax_t size = 0;
  s.file_ = fileio::openInputFile(path, kMaxFileBytes, s.reason_, &size);
  if (!s.file_) {
    s.status_ = LinesStatus::CannotOpen;
    s.done_ = true;
    return s;
  }
  // Our own buffer is the only one: the reads are large.
  std::setvbuf(s.file_.get(), nullptr, _IONBF, 0);
  s.total_ = size;
  // Room for a line carried over and a read after it; a file that grows since the check reads on.
  s.capacity_ = size_t(std::min<uint64_t>(kChunk, size)) + kCarry;
  s.buffer_ = std::make_unique_for_overwrite<char[]>(s.capacity_);
  s.data_ = s.buffer_.get();
  return s;
}

LineStream LineStream::over(std::string_view bytes) {
  LineStream s;
  s.data_ = bytes.data();
  s.end_ = bytes.size();
  s.total_ = bytes.size();
  s.eof_ = true;
  return s;
}

LineStream LineStream::unreadable(std::string reason) {
  LineStream s;
  s.fail(LinesStatus::CannotOpen, std::move(reason));
  return s;
}

bool LineStream::fail(LinesStatus status, std::string reason) {
  status_ = status;
  reason_ = std::move(reason);
  done_ = true;
  return false;
}

bool LineStream::accept(std::string_view text, std::string_view& line) {
  if (text.size() > kMaxLineLength) return fail(LinesStatus::LineTooLong);
  if (++lines_ > kMaxLines) return fail(LinesStatus::TooManyLines);
  line = text;
  return true;
}

bool LineStream::next(std::string_view& line) {
  while (!done_) {
    const char* p = data_ + begin_;
    const size_t avail = end_ - begin_;
    if (const auto* nl = static_cast<const char*>(std::memchr(p, '\n', avail))) {
      size_t len = size_t(nl - p);
      begin_ += len + 1;
      if (len > 0 && p[len - 1] == '\r') --len;
      return accept({p, len}, line);
    }
    if (eof_) {
      done_ = true;
      begin_ = end_;
      return accept({p, avail}, line);
    }
    // The line goes on past what is at hand; longer than any read, it can never load.
    if (avail > kMaxLineLength + 1) return fail(LinesStatus::LineTooLong);
    if (!refill()) return false;
  }
  return false;
}

bool LineStream::refill() {
  const size_t avail = end_ - begin_;
  if (begin_ > 0) std::memmove(buffer_.get(), data_ + begin_, avail);
  before_ += begin_;
  begin_ = 0;
  end_ = avail;
  const size_t n = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_.get());
  if (n == 0) {
    if (std::ferror(file_.get())) return fail(LinesStatus::CannotOpen, std::strerror(errno));
    eof_ = true;
    return true;
  }
  end_ += n;
  if (before_ + end_ > kMaxFileBytes)
    return fail(LinesStatus::CannotOpen,
                "файл слишком велик (более " + std::to_string(kMaxFileBytes) + " байт)");
  return true;
}

int LineStream::percent() const {
  if (total_ == 0) return 100;
  return int(std::min<uint64_t>(100, (before_ + begin_) * 100 / total_));
}

FileLines splitFileLines(std::string data) {
  FileLines out;
  out.data = std::move(data);
  LineStream in = LineStream::over(out.data);
  std::string_view line;
  while (in.next(line)) out.lines.push_back(line);
  out.status = in.status();
  if (!out.ok()) out.lines.clear();
  return out;
}

FileLines readFileLines(const std::string& path) {
  std::string data;
  std::string reason;
  if (!fileio::readWholeFile(path, kMaxFileBytes, data, reason)) {
    FileLines out;
    out.status = FileLines::Status::CannotOpen;
    out.reason = std::move(reason);
    return out;
  }
  return splitFileLines(std::move(data));
}

}  // namespace qel::testfile
