#include "algorithms/rom_data_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace qel::algorithms {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

}  // namespace

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(toPath(path), ec);
}

RomFileData readRomDataFile(const std::string& path, size_t count) {
  RomFileData out;
  std::error_code ec;
  const fs::path p = toPath(path);
  if (path.empty() || !fs::exists(p, ec)) {
    out.status = RomFileStatus::Missing;
    return out;
  }
  std::ifstream in(p, std::ios::binary);
  if (!in || fs::is_directory(p, ec)) {
    out.status = RomFileStatus::Unreadable;
    return out;
  }
  out.bytes.assign(count, 0);
  in.read(reinterpret_cast<char*>(out.bytes.data()), std::streamsize(count));
  out.status = RomFileStatus::Read;
  return out;
}

bool createRomDataFile(const std::string& path) {
  std::ofstream out(toPath(path), std::ios::binary | std::ios::trunc);
  out.write(kNewRomFileText.data(), std::streamsize(kNewRomFileText.size()));
  out.close();
  return bool(out);
}

bool writeFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
  const fs::path target = toPath(path);
  fs::path temp = target;
  temp += ".tmp~";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

std::string resolveBesideTest(std::string_view testPath, const std::string& name) {
  const fs::path p = toPath(name);
  if (name.empty() || testPath.empty() || !p.is_relative()) return name;
  const fs::path folder = toPath(std::string(testPath)).parent_path();
  if (folder.empty()) return name;
  const std::u8string joined = (folder / p).u8string();
  return std::string(joined.begin(), joined.end());
}

std::string defaultRomDataFileName(std::string_view testPath) {
  const size_t slash = testPath.find_last_of("/\\");
  const size_t dot = testPath.find_last_of('.');
  const bool hasExt = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  std::string out(hasExt ? testPath.substr(0, dot) : testPath);
  return out + ".Dat";
}

}  // namespace qel::algorithms
