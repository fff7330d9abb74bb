// qel book as a library maintainer uses it: the search as JSON, the check of every path.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "run_program.h"
#include "temp_files.h"
#include "text/codepage.h"

namespace {

qel::testing::ProgramRun qel(const std::string& arguments) {
  return qel::testing::runProgram(QEL_BINARY, arguments);
}

const std::string kBook = std::string(QEL_EXAMPLES_DIR) + "/chips.lib";

TEST(QelBook, FindsAsTheChipNameBoxDoes) {
  auto r = qel("book " + kBook + " --find ла3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["search"], "ЛА3");
  EXPECT_EQ(j["matchingFiles"], 1);
  ASSERT_EQ(j["matches"].size(), 2u);
  EXPECT_EQ(j["matches"][0]["chip"], "К155ЛА3");
  EXPECT_EQ(j["matches"][0]["test"], std::string(QEL_EXAMPLES_DIR) + "/nand7400.qel");
  EXPECT_EQ(j["matches"][0]["documentation"], std::string(QEL_EXAMPLES_DIR) + "/docs/7400.txt");
  EXPECT_EQ(nlohmann::json::parse(qel("book " + kBook + " --find \"\"").out)["matchingFiles"], 7);
  EXPECT_EQ(qel("book " + kBook).status, 2) << "--find or --check";
  EXPECT_EQ(qel("book /nonexistent.lib --find x").status, 2);
}

TEST(QelBook, CheckPassesOnTheExampleAndNamesEveryBrokenEntry) {
  auto r = qel("book " + kBook + " --check");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("7 files, 18 chip names, 0 problems"), std::string::npos) << r.out;

  qel::testing::TempDir dir;
  const std::string book = dir.file("broken.lib");
  std::ofstream(book, std::ios::binary) << qel::text::utf8ToCp1251(
      "К155ЛА3|x.pdf\r\n"
      " 0 <Tests>:/nand7400.qel\r\n"
      "К155ЛА3|<Desc>:/docs/7400.txt\r\n"
      "SN7400N|<Desc>:/docs/none.pdf\r\n"
      " 1 <Tests>:/missing.qel\r\n"
      "X|\r\n"
      " 2 <Tests>:/broken/bad_radix.qel\r\n"
      "Y|\r\n");
  r = qel("book " + book + " --check --tests " + QEL_EXAMPLES_DIR + " --docs " + QEL_EXAMPLES_DIR);
  EXPECT_EQ(r.status, 1);
  std::vector<std::string> lines;
  for (size_t at = 0; at < r.out.size();) {
    const auto end = r.out.find('\n', at);
    std::string line = r.out.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the Windows console's
    lines.push_back(line);
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_NE(lines[0].find("line 1: a chip name before any test file line"), std::string::npos);
  EXPECT_NE(lines[1].find("SN7400N: the documentation file"), std::string::npos);
  EXPECT_NE(lines[2].find("missing.qel: the test file does not exist"), std::string::npos);
  EXPECT_NE(lines[3].find("bad_radix.qel: "), std::string::npos);
  EXPECT_EQ(lines[4], "3 files, 4 chip names, 4 problems");
}

}  // namespace
