#include "testfile/file_lines.h"

#include <cstdio>
#include <cstring>
#include <memory>

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
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) {
    FileLines out;
    out.status = FileLines::Status::CannotOpen;
    return out;
  }
  std::string data;
  long size = 0;
  if (std::fseek(f.get(), 0, SEEK_END) == 0 && (size = std::ftell(f.get())) > 0) {
    data.resize(size_t(size));
    std::fseek(f.get(), 0, SEEK_SET);
    data.resize(std::fread(data.data(), 1, data.size(), f.get()));
  }
  // The size may change under us, or the stream may not tell it: read on to the end.
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, n);
  if (std::ferror(f.get())) {
    FileLines out;
    out.status = FileLines::Status::CannotOpen;
    return out;
  }
  return splitFileLines(std::move(data));
}

}  // namespace qel::testfile
