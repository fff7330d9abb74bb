#include "app/test_comment.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_files.h"
#include "text/codepage.h"

namespace qel::app {
namespace {

using testing::TempDir;

TEST(TestComment, LivesBesideTheTestWithTheExtensionTxt) {
  EXPECT_EQ(commentFilePath("/t/nand7400.qel"), "/t/nand7400.txt");
  EXPECT_EQ(commentFilePath("C:\\t\\ram.vtd"), "C:\\t\\ram.txt");
  EXPECT_EQ(commentFilePath("/t/x.qels"), "/t/x.qtxt");
  EXPECT_EQ(commentFilePath("/t/x.q"), "/t/x.qtxt");
  EXPECT_EQ(commentFilePath("/t/x"), "/t/xtxt");
  // A dot in a folder name does not count.
  EXPECT_EQ(commentFilePath("/t.old/test"), "/t.old/testtxt");
}

TEST(TestComment, SavedInCp1251AndNeverOverwrittenByAnEmptyOne) {
  TempDir dir;
  const auto test = dir.file("ie7.qel");
  EXPECT_FALSE(readComment(test).has_value());
  ASSERT_EQ(saveComment(test, "Счётчик\nвторая строка"), "");
  EXPECT_EQ(testing::readBytes(dir.file("ie7.txt")), text::utf8ToCp1251("Счётчик\r\nвторая строка"));
  EXPECT_EQ(readComment(test), "Счётчик\nвторая строка");
  EXPECT_EQ(saveComment(test, ""), "");
  EXPECT_EQ(readComment(test), "Счётчик\nвторая строка");

  // A comment that cannot be written says so, and the old one stays.
  std::filesystem::create_directory(dir.file("sub.txt"));
  EXPECT_NE(saveComment(dir.file("sub.qel"), "x"), "");
}

}  // namespace
}  // namespace qel::app
