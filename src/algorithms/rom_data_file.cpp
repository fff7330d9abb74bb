#include "algorithms/rom_data_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "fileio/input_file.h"
#include "fileio/safe_save.h"

namespace qel::algorithms {

namespace fs = std::filesystem;
using fileio::toPath;

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(toPath(path), ec);
}

RomFileData readRomDataFile(const std::string& path, size_t count) {
  RomFileData out;
  const fileio::InputFile check = fileio::checkInputFile(path, UINTMAX_MAX);
  if (path.empty() || check.status == fileio::InputStatus::Missing) {
    out.status = RomFileStatus::Missing;
    return out;
  }
  std::string data;
  if (!fileio::readFileStart(path, count, data, out.reason)) {
    out.status = RomFileStatus::Unreadable;
    return out;
  }
  out.bytes.assign(count, 0);
  std::copy(data.begin(), data.end(), out.bytes.begin());
  out.status = RomFileStatus::Read;
  return out;
}

bool createRomDataFile(const std::string& path) {
  return fileio::saveFile(path, kNewRomFileText).empty();
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
