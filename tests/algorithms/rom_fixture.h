#pragma once
// A small ROM read-out template and a scratch folder for its data files.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "template_builder.h"

namespace qel::testing {

// Address pins 1..9, data pins 11..18 (outputs), /OE on pin 20. Four template cycles:
// address, /OE low, data checked, /OE high.
inline TestDescription& romTemplate(TemplateBuilder& b) {
  std::vector<int> address, data;
  for (int p = 1; p <= 9; ++p) b.pin(p, "I"), address.push_back(p);
  for (int p = 11; p <= 18; ++p) b.pin(p, "O"), data.push_back(p);
  b.pin(20, "I").word(0, address).word(1, data).signal(20, "-__-");
  TestDescription& t = b.loaded(2);
  RomParams& r = t.algorithms.rom;
  r.addressWord = 0;
  r.addressCycle = 1;
  r.addressCycles = 1;
  r.dataWord = 1;
  r.dataCycle = 3;
  r.startAddress = 0x100;
  r.finalAddress = 0x1FF;
  return t;
}

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qel_alg_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    removeAll();
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { removeAll(); }
  // Windows will not remove a read-only file: the write-protection tests leave one.
  void removeAll() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(dir_, ec))
      for (const auto& e : fs::recursive_directory_iterator(dir_, ec))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(dir_);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static void write(const std::string& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path dir_;
};

}  // namespace qel::testing
