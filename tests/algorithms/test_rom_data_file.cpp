#include <gtest/gtest.h>

#include <filesystem>

#include "algorithms/rom_data_file.h"
#include "algorithms/rom_data_save.h"
#include "recording_operator.h"
#include "rom_fixture.h"

namespace qel::algorithms {
namespace {

using qel::testing::RecordingOperator;
using qel::testing::romTemplate;
using qel::testing::TemplateBuilder;

class RomDataFile : public qel::testing::ScratchDir {
 protected:
  // A Rom test after a run that read the byte (address & 0xFF) ^ 0x5A at every address.
  TestDescription& readOut(TemplateBuilder& b, int first, int last) {
    TestDescription& t = romTemplate(b);
    t.algorithms.rom.startAddress = first;
    t.algorithms.rom.finalAddress = last;
    t.setCycleCount((last - first + 1) * 4);
    for (int i = 0; i <= last - first; ++i) {
      const int byte = ((first + i) & 0xFF) ^ 0x5A;
      for (int k = 0; k < 8; ++k) t.setResultCode(11 + k, i * 4 + 3, (byte >> k) & 1 ? kReadHigh : kReadLow);
    }
    return t;
  }
};

TEST_F(RomDataFile, ReadingAnyLengthGivesExactlyTheRangeWithZerosPastTheEnd) {
  write(path("d.dat"), {1, 2, 3, 4});
  RomFileData d = readRomDataFile(path("d.dat"), 2);
  EXPECT_EQ(d.status, RomFileStatus::Read);
  EXPECT_EQ(d.bytes, (std::vector<uint8_t>{1, 2}));
  d = readRomDataFile(path("d.dat"), 6);
  EXPECT_EQ(d.bytes, (std::vector<uint8_t>{1, 2, 3, 4, 0, 0}));
  EXPECT_EQ(readRomDataFile(path("none.dat"), 6).status, RomFileStatus::Missing);
  // A folder is neither read nor replaced by a new file.
  std::filesystem::create_directory(path("folder.dat"));
  d = readRomDataFile(path("folder.dat"), 6);
  EXPECT_EQ(d.status, RomFileStatus::Unreadable);
  EXPECT_EQ(d.reason, "это папка, а не файл");
  EXPECT_EQ(defaultRomDataFileName("/t/chip.v1.qel"), "/t/chip.v1.Dat");
  EXPECT_EQ(defaultRomDataFileName("/t.d/chip"), "/t.d/chip.Dat");
}

TEST_F(RomDataFile, SavingTheReadOutWritesOneBytePerAddressAndAsksBeforeReplacing) {
  TemplateBuilder b(20);
  TestDescription& t = readOut(b, 0x100, 0x1FF);
  RecordingOperator op;
  op.files = {path("out.dat"), path("out.dat"), path("out.dat")};
  op.answers = {false, true};
  ASSERT_TRUE(saveRomDataFile(t, op));
  const std::string saved = read(path("out.dat"));
  ASSERT_EQ(saved.size(), 256u);
  EXPECT_EQ(uint8_t(saved[0]), 0x5A);
  EXPECT_EQ(uint8_t(saved[0x3C]), 0x3C ^ 0x5A);
  EXPECT_EQ(op.messages().back().text, "Файл данных: " + path("out.dat") + " cохранен успешно");
  EXPECT_EQ(op.messages().back().icon, Icon::Information);

  EXPECT_FALSE(saveRomDataFile(t, op));  // "No" to the replacement
  EXPECT_TRUE(saveRomDataFile(t, op));
  const auto asks = op.lines("ask ");
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0], "Заменить существующий файл?");
  EXPECT_EQ(t.algorithms.rom.dataFileName, "");  // saving does not change the test's file
}

TEST_F(RomDataFile, UndefinedReadingsAreZeroInHexAndAskedAboutInTheOtherRadices) {
  TemplateBuilder b(20);
  TestDescription& t = readOut(b, 0, 15);
  t.setResultCode(14, 5 * 4 + 3, kNotMeasured);
  t.setResultCode(12, 9 * 4 + 3, kReadOther3);
  const RomReadout r = romReadoutFromResult(t);
  EXPECT_EQ(r.undefined, 2);
  EXPECT_EQ(r.firstUndefined, 5);
  EXPECT_EQ(r.bytes[5], 0);
  EXPECT_EQ(r.bytes[6], 6 ^ 0x5A);

  RecordingOperator hex;
  hex.files = {path("hex.dat")};
  EXPECT_TRUE(saveRomDataFile(t, hex));
  EXPECT_TRUE(hex.lines("ask ").empty());

  for (auto& w : t.words) w.radix = 8;
  RecordingOperator oct;
  oct.files = {path("oct.dat")};
  oct.answers = {false};
  EXPECT_FALSE(saveRomDataFile(t, oct));
  EXPECT_FALSE(fileExists(path("oct.dat")));
  ASSERT_EQ(oct.lines("ask ").size(), 1u);
  EXPECT_EQ(oct.lines("ask ")[0], "Данные 2 адресов не определены (первый адрес 5). Сохранить их как 0?");
}

TEST_F(RomDataFile, AFailedSaveReportsItAndLeavesTheOldFileWhole) {
  TemplateBuilder b(20);
  TestDescription& t = readOut(b, 0, 15);
  write(path("keep.dat"), {9, 9, 9});
  // Write-protected: refused before the question, with the reason in the log.
  std::filesystem::permissions(path("keep.dat"), std::filesystem::perms::owner_read);
  RecordingOperator op;
  op.files = {path("keep.dat")};
  op.answers = {true};
  EXPECT_FALSE(saveRomDataFile(t, op));
  EXPECT_EQ(read(path("keep.dat")), "\x09\x09\x09");
  EXPECT_TRUE(op.lines("ask ").empty());
  EXPECT_EQ(op.lines("log "), std::vector<std::string>{path("keep.dat") + ": файл защищён от записи"});
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].text,
            "Невозможно открыть файл, возможно он занят другим приложением или защищен от изменения.");
  EXPECT_EQ(op.messages()[0].icon, Icon::Error);
}

TEST_F(RomDataFile, NothingHappensUnlessTheRomBlockIsSelected) {
  TemplateBuilder b(20);
  TestDescription& t = readOut(b, 0, 15);
  t.algorithms.select(3);
  RecordingOperator op;
  EXPECT_FALSE(saveRomDataFile(t, op));
  EXPECT_TRUE(op.events().empty());
}

}  // namespace
}  // namespace qel::algorithms
