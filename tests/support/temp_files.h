#pragma once
// Scratch folders and test files written in the file's code page.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "text/codepage.h"

namespace qel::testing {

class TempDir {
 public:
  // A fresh folder of our own: create_directory is false when the name is taken, so try another.
  TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("qel-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Lines given in UTF-8 are stored as the program stores them: cp866, CR LF.
inline void writeLines(const std::string& path, const std::vector<std::string>& lines,
                       bool finalBreak = true) {
  std::ofstream f(path, std::ios::binary);
  for (size_t i = 0; i < lines.size(); ++i) {
    f << text::utf8ToFileLine(lines[i]);
    if (i + 1 < lines.size() || finalBreak) f << "\r\n";
  }
}

inline std::string readBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

inline std::string example(const std::string& name) {
  return std::string(QEL_EXAMPLES_DIR) + "/" + name;
}

}  // namespace qel::testing
