#include "fileio/input_file.h"

#include <cerrno>
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

bool readWholeFile(const std::string& path, std::uintmax_t maxBytes, std::string& data, std::string& reason) {
  std::uintmax_t size = 0;
  const InputHandle f = openInputFile(path, maxBytes, reason, &size);
  if (!f) return false;
  data.clear();
  data.reserve(static_cast<size_t>(size));
  // The size may change after the check: read on to the end, but never past the limit.
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
    if (data.size() + n > maxBytes) {
      reason = "файл слишком велик (более " + std::to_string(maxBytes) + " байт)";
      return false;
    }
    data.append(buf, n);
  }
  if (std::ferror(f.get())) {
    reason = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace qel::fileio
