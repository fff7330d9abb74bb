#include "testfile/file_lines.h"

#include <cstring>

#include "fileio/input_file.h"

namespace qel::testfile {

FileLines splitFileLines(std::string data) {
  FileLines out;
  out.data = std::move(data);
  const char* p = out.data.data();
  const char* end = p + out.data.size();
  while (true) {
    const auto* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    const char* stop = nl ? nl : end;
    size_t len = size_t(stop - p);
    if (nl && len > 0 && stop[-1] == '\r') --len;
    if (len > kMaxLineLength) {
      out.status = FileLines::Status::LineTooLong;
      out.lines.clear();
      return out;
    }
    out.lines.emplace_back(p, len);
    if (out.lines.size() > kMaxLines) {
      out.status = FileLines::Status::TooManyLines;
      out.lines.clear();
      return out;
    }
    if (!nl) break;
    p = nl + 1;
  }
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
