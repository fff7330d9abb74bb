#include "fileio/input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace qel::fileio {

namespace fs = std::filesystem;

fs::path toPath(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

InputFile checkInputFile(const std::string& path, std::uintmax_t maxBytes) {
  InputFile out;
  std::error_code ec;
  const fs::path p = toPath(path);
  const fs::file_status st = fs::status(p, ec);
  if (ec || !fs::exists(st)) {
    out.status = InputStatus::Missing;
    out.reason = "файл не найден";
    return out;
  }
  if (fs::is_directory(st)) {
    out.status = InputStatus::NotRegular;
    out.reason = "это папка, а не файл";
    return out;
  }
  if (!fs::is_regular_file(st)) {
    out.status = InputStatus::NotRegular;
    out.reason = "это не обычный файл";
    return out;
  }
  out.size = fs::file_size(p, ec);
  if (ec) {
    out.status = InputStatus::Unreadable;
    out.reason = ec.message();
    return out;
  }
  if (out.size > maxBytes) {
    out.status = InputStatus::TooLarge;
    out.reason = "файл слишком велик (" + std::to_string(out.size) + " байт, допустимо не более " +
                 std::to_string(maxBytes) + ")";
  }
  return out;
}

InputHandle openInputFile(const std::string& path, std::uintmax_t maxBytes, std::string& reason,
                          std::uintmax_t* size) {
  const InputFile check = checkInputFile(path, maxBytes);
  if (!check.ok()) {
    reason = check.reason;
    return nullptr;
  }
#ifdef _WIN32
  InputHandle f(_wfopen(toPath(path).c_str(), L"rb"));
#else
  InputHandle f(std::fopen(path.c_str(), "rb"));
#endif
  if (!f) reason = std::strerror(errno);
  if (size) *size = check.size;
  return f;
}

namespace {

// Appends up to limit bytes; tooLong tells whether there was more.
bool readUpTo(std::FILE* f, size_t limit, std::string& data, bool& tooLong, std::string& reason) {
  char buf[1 << 16];
  tooLong = false;
  for (;;) {
    const size_t want = std::min(sizeof buf, limit - data.size() + 1);
    const size_t n = std::fread(buf, 1, want, f);
    if (n == 0) break;
    if (data.size() + n > limit) {
      data.append(buf, limit - data.size());
      tooLong = true;
      return true;
    }
    data.append(buf, n);
  }
  if (std::ferror(f)) {
    reason = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool readWholeFile(const std::string& path, std::uintmax_t maxBytes, std::string& data, std::string& reason) {
  std::uintmax_t size = 0;
  const InputHandle f = openInputFile(path, maxBytes, reason, &size);
  if (!f) return false;
  data.clear();
  data.reserve(static_cast<size_t>(size));
  // The size may change after the check: read on to the end, but never past the limit.
  bool tooLong = false;
  if (!readUpTo(f.get(), size_t(std::min<std::uintmax_t>(maxBytes, SIZE_MAX - 1)), data, tooLong, reason))
    return false;
  if (tooLong) {
    reason = "файл слишком велик (более " + std::to_string(maxBytes) + " байт)";
    return false;
  }
  return true;
}

bool readFileStart(const std::string& path, size_t count, std::string& data, std::string& reason) {
  const InputHandle f = openInputFile(path, UINTMAX_MAX, reason);
  if (!f) return false;
  data.clear();
  bool tooLong = false;
  return readUpTo(f.get(), std::min(count, SIZE_MAX - 1), data, tooLong, reason);
}

}  // namespace qel::fileio
