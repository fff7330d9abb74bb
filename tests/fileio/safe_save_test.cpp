#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>

#include "fileio/safe_save.h"
#include "temp_files.h"

namespace qel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;

std::vector<std::string> folderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeText(const std::string& path, const std::string& text) {
  ASSERT_EQ(fileio::saveFile(path, text), "");
}

TEST(SafeSave, ReplacesTheContentKeepingModeAndTouchingNoOtherFile) {
  testing::TempDir dir;
  const std::string target = dir.file("a.qel");
  writeText(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A file of the user's that happens to carry the name an older save used for its temporary.
  writeText(target + ".part", "mine");

  EXPECT_EQ(fileio::saveFile(target, "new content"), "");
  EXPECT_EQ(readBytes(target), "new content");
  EXPECT_EQ(readBytes(target + ".part"), "mine");
  EXPECT_EQ(folderListing(dir.path()), (std::vector<std::string>{"a.qel", "a.qel.part"}));
#if !defined(_WIN32)  // Windows keeps only a read-only attribute, and has no umask
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A new file gets the usual mode of new files, and an empty content is a content.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(fileio::saveFile(dir.file("b.qel"), ""), "");
  EXPECT_EQ(fs::file_size(dir.file("b.qel")), 0u);
  EXPECT_EQ(unsigned(fs::status(dir.file("b.qel")).permissions()), 0666u & ~unsigned(mask));
#endif
}

TEST(SafeSave, ALinkKeepsPointingAtItsTargetWhichGetsTheContent) {
#if defined(_WIN32)
  GTEST_SKIP() << "symbolic links on Windows need a privilege a user rarely has";
#endif
  testing::TempDir dir;
  fs::create_directory(dir.path() / "real");
  writeText(dir.file("real/t.qel"), "old");
  fs::create_symlink("real/t.qel", dir.path() / "link.qel");  // relative to the link's folder
  fs::create_symlink(dir.path() / "link.qel", dir.path() / "link2.qel");

  EXPECT_EQ(fileio::saveFile(dir.file("link2.qel"), "new"), "");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link.qel")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link2.qel")));
  EXPECT_EQ(readBytes(dir.file("real/t.qel")), "new");
  EXPECT_EQ(folderListing(dir.path() / "real"), std::vector<std::string>{"t.qel"});

  // A link to a file not there yet creates that file.
  fs::create_symlink("real/later.qel", dir.path() / "dangling.qel");
  EXPECT_EQ(fileio::saveFile(dir.file("dangling.qel"), "x"), "");
  EXPECT_EQ(readBytes(dir.file("real/later.qel")), "x");

  // A link that points at itself is an error, not a loop.
  fs::create_symlink("self.qel", dir.path() / "self.qel");
  EXPECT_NE(fileio::saveFile(dir.file("self.qel"), "x"), "");
}

TEST(SafeSave, RefusalsAndFailuresSayWhyAndLeaveEverythingAsItWas) {
  testing::TempDir dir;
  writeText(dir.file("ro.qel"), "keep");
  fs::permissions(dir.file("ro.qel"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(fileio::saveRefusal(dir.file("ro.qel")), "файл защищён от записи");
  EXPECT_EQ(fileio::saveFile(dir.file("ro.qel"), "x"), dir.file("ro.qel") + ": файл защищён от записи");
  EXPECT_EQ(readBytes(dir.file("ro.qel")), "keep");

  fs::create_directories(dir.path() / "folder.qel" / "inside");
  EXPECT_EQ(fileio::saveFile(dir.file("folder.qel"), "x"), dir.file("folder.qel") + ": это папка, а не файл");
  EXPECT_TRUE(fs::exists(dir.path() / "folder.qel" / "inside"));

#if !defined(_WIN32)
  EXPECT_EQ(fileio::saveRefusal("/dev/null"), "это не обычный файл");
#endif
  EXPECT_EQ(fileio::saveRefusal(dir.file("new.qel")), "");

  // The error is the one that stopped the save, not that of the clean-up after it.
  const std::string missing = fileio::saveFile(dir.file("no/such/x.qel"), "x");
  EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
  EXPECT_EQ(folderListing(dir.path()), (std::vector<std::string>{"folder.qel", "ro.qel"}));
}

TEST(SafeSave, AStreamedSaveThatGivesUpHalfWayLeavesTheOldFileAndNoTemporary) {
  testing::TempDir dir;
  writeText(dir.file("run.vcd"), "old");
  const std::string stopped =
      fileio::saveFileStreamed(dir.file("run.vcd"), [](const fileio::ChunkWriter& write) {
        write(std::string(3 << 20, 'a'));
        return std::string("the test could not be read");
      });
  EXPECT_EQ(stopped, "the test could not be read");
  EXPECT_EQ(readBytes(dir.file("run.vcd")), "old");
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"run.vcd"});

  EXPECT_EQ(fileio::saveFileStreamed(dir.file("run.vcd"),
                                     [](const fileio::ChunkWriter& write) {
                                       return write("new ") && write("content") ? std::string() : "no";
                                     }),
            "");
  EXPECT_EQ(readBytes(dir.file("run.vcd")), "new content");
}

}  // namespace
}  // namespace qel
