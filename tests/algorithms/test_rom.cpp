#include <gtest/gtest.h>

#include "algorithms/expansion.h"
#include "algorithms/rom_data_file.h"
#include "recording_operator.h"
#include "rom_fixture.h"

namespace qel::algorithms {
namespace {

using qel::testing::RecordingOperator;
using qel::testing::romTemplate;
using qel::testing::TemplateBuilder;
using qel::testing::wordDirection;
using qel::testing::wordLevels;

class ExpandRom : public qel::testing::ScratchDir {};

TEST_F(ExpandRom, AShortFileGivesItsBytesThenZerosAndTheAddressIsHeldToTheDataCycle) {
  std::vector<uint8_t> bytes;
  for (int k = 0; k < 16; ++k) bytes.push_back(uint8_t(0xA0 + k));
  write(path("rom.dat"), bytes);
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("rom.dat");
  RecordingOperator op;
  expandLoaded(t, op, {});

  EXPECT_TRUE(op.messages().empty());
  ASSERT_EQ(t.cycleCount, 256 * 4);
  EXPECT_EQ(t.algorithms.cyclic.repeatCount, 256);
  EXPECT_EQ(t.algorithms.cyclic.repeatLast, 4);
  for (int block : {0, 1, 15, 16, 255}) {
    const int base = block * 4;
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(wordLevels(t, 0, base + i), 0x100 + block) << block << " " << i;
    EXPECT_EQ(wordLevels(t, 1, base + 3), block < 16 ? 0xA0 + block : 0) << block;
    EXPECT_EQ(wordDirection(t, 1, base + 3), 1);
    EXPECT_EQ(t.level(20, base + 2), kLow);
    EXPECT_EQ(t.level(20, base + 4), kHigh);
  }
  EXPECT_EQ(t.level(1, 1025), kDontCare);
  const auto events = op.events();
  EXPECT_EQ(events.front(), "wait show Загрузка алгоритма | Подождите - идет загрузка....");
  EXPECT_EQ(events[1], "wait range 256..511");
}

TEST_F(ExpandRom, AMissingFileIsCreatedAndItsSixBytesAreTheNextExpansionsData) {
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("new.dat");
  RecordingOperator op;
  expandRom(t, op, {});

  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].text, "Файл данных ПЗУ не найден. Будет создан новый файл данных ПЗУ");
  EXPECT_EQ(op.messages()[0].icon, Icon::Information);
  EXPECT_EQ(read(path("new.dat")), std::string(kNewRomFileText));
  EXPECT_EQ(t.cycleCount, 1024);
  EXPECT_EQ(wordLevels(t, 1, 3), -1);  // no expected data: the template's don't care stays

  op.clear();
  expandRom(t, op, {});
  EXPECT_TRUE(op.messages().empty());
  EXPECT_EQ(wordLevels(t, 1, 3), 0xC4);  // "Д" in Windows Cyrillic
  EXPECT_EQ(wordLevels(t, 1, 4 * 5 + 3), 0xE5);
  EXPECT_EQ(wordLevels(t, 1, 4 * 6 + 3), 0);
}

TEST_F(ExpandRom, AFileThatCannotBeCreatedIsReportedAndTheTestStillLaidOut) {
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("no/such/folder/new.dat");
  RecordingOperator op;
  expandRom(t, op, {});
  ASSERT_EQ(op.messages().size(), 2u);
  EXPECT_EQ(op.messages()[1].text, "Невозможно создать файл данных ПЗУ " + path("no/such/folder/new.dat"));
  EXPECT_EQ(op.messages()[1].icon, Icon::Warning);
  EXPECT_EQ(t.cycleCount, 1024);
}

TEST_F(ExpandRom, AnotherFileOnARepeatedExpansionKeepsNothingOfTheLastOne) {
  write(path("a.dat"), {0x11, 0x22});
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("a.dat");
  RecordingOperator op;
  expandRom(t, op, {});
  ASSERT_EQ(wordLevels(t, 1, 3), 0x11);
  t.algorithms.rom.dataFileName = path("missing.dat");
  expandRom(t, op, {});
  for (int block : {0, 1, 2}) EXPECT_EQ(wordLevels(t, 1, block * 4 + 3), -1) << block;
}

TEST_F(ExpandRom, NoFileNamedWarnsOffersAChoiceAndFallsBackToTheTestName) {
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  RecordingOperator op;
  ExpansionOptions o;
  o.openDialogFileName = path("chip.qel");
  expandRom(t, op, o);
  EXPECT_EQ(t.algorithms.rom.dataFileName, path("chip.Dat"));
  const auto events = op.events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0], "message 48 Файл данных ПЗУ не указан. Выберите файл данных ПЗУ");
  EXPECT_EQ(events[1], "choose Dat|*.dat");
  EXPECT_EQ(events[2], "message 64 Файл данных ПЗУ не найден. Будет создан новый файл данных ПЗУ");
  EXPECT_TRUE(fileExists(path("chip.Dat")));

  TemplateBuilder b2(20);
  TestDescription& t2 = romTemplate(b2);
  write(path("picked.dat"), {0x5A});
  RecordingOperator op2;
  op2.files.push_back(path("picked.dat"));
  expandRom(t2, op2, o);
  EXPECT_EQ(t2.algorithms.rom.dataFileName, path("picked.dat"));
  EXPECT_EQ(wordLevels(t2, 1, 3), 0x5A);
}

TEST_F(ExpandRom, ARelativeDataFileIsTakenBesideTheTest) {
  write(path("rel.dat"), {0x77});
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.fileName = path("chip.qel");
  t.algorithms.rom.dataFileName = "rel.dat";
  RecordingOperator op;
  expandRom(t, op, {});
  EXPECT_TRUE(op.messages().empty());
  EXPECT_EQ(wordLevels(t, 1, 3), 0x77);
  EXPECT_EQ(t.algorithms.rom.dataFileName, "rel.dat");
}

TEST_F(ExpandRom, AnUnreadableFileIsReportedAndLeftAlone) {
  std::filesystem::create_directory(path("dir.dat"));
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("dir.dat");
  RecordingOperator op;
  expandRom(t, op, {});
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].icon, Icon::Error);
  EXPECT_TRUE(std::filesystem::is_directory(path("dir.dat")));
  EXPECT_EQ(t.cycleCount, 1024);
}

TEST_F(ExpandRom, AddressRangesThatCannotBeLaidOutAsGiven) {
  write(path("d.dat"), {1, 2, 3});
  {  // start above final: swapped, never fewer cycles than the template
    TemplateBuilder b(20);
    TestDescription& t = romTemplate(b);
    t.algorithms.rom.dataFileName = path("d.dat");
    t.algorithms.rom.startAddress = 7;
    t.algorithms.rom.finalAddress = 5;
    RecordingOperator op;
    expandRom(t, op, {});
    EXPECT_EQ(t.algorithms.rom.startAddress, 5);
    EXPECT_EQ(t.cycleCount, 12);
    EXPECT_EQ(wordLevels(t, 0, 9), 7);
    EXPECT_EQ(op.lines("log ").size(), 1u);
  }
  {  // more addresses than the old 260,000-byte buffer: the data still lands in the right block
    TemplateBuilder b(20);
    TestDescription& t = romTemplate(b);
    t.algorithms.rom.dataFileName = path("d.dat");
    t.algorithms.rom.startAddress = 0;
    t.algorithms.rom.finalAddress = 299'999;
    RecordingOperator op;
    expandRom(t, op, {});
    EXPECT_EQ(t.cycleCount, 1'200'000);
    EXPECT_EQ(wordLevels(t, 1, 2 * 4 + 3), 3);
    EXPECT_EQ(wordLevels(t, 0, 299'999 * 4 + 1), 299'999 & 0x1FF);
  }
  {  // a range the diagram cannot hold is refused before anything changes
    TemplateBuilder b(20);
    TestDescription& t = romTemplate(b);
    t.algorithms.rom.dataFileName = path("none.dat");
    t.algorithms.rom.startAddress = INT32_MIN;
    t.algorithms.rom.finalAddress = INT32_MAX;
    RecordingOperator op;
    expandRom(t, op, {});
    EXPECT_EQ(t.cycleCount, 4);
    ASSERT_EQ(op.messages().size(), 1u);
    EXPECT_EQ(op.messages()[0].icon, Icon::Error);
    EXPECT_FALSE(fileExists(path("none.dat")));
  }
}

TEST_F(ExpandRom, AWordIndexOutsideTheTableIsRefused) {
  TemplateBuilder b(20);
  TestDescription& t = romTemplate(b);
  t.algorithms.rom.dataFileName = path("x.dat");
  t.algorithms.rom.addressWord = 12;
  RecordingOperator op;
  expandRom(t, op, {});
  EXPECT_EQ(t.cycleCount, 4);
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].text,
            "Слово адреса алгоритма ПЗУ не задано или не содержит контактов. Тест не развернут.");
}

}  // namespace
}  // namespace qel::algorithms
