#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/test_loader.h"
#include "recording_operator.h"
#include "temp_files.h"
#include "test_builder.h"
#include "testfile/symbol_planes.h"

namespace qel {
namespace {

using testing::FileBuilder;
using testing::RecordingOperator;

struct Loaded {
  engine::Bench bench;
  RecordingOperator op;
  app::LoadResult result;
};

std::unique_ptr<Loaded> load(const std::vector<std::string>& lines, bool finalBreak = true) {
  testing::TempDir dir;
  const auto path = dir.file("t.qel");
  testing::writeLines(path, lines, finalBreak);
  auto l = std::make_unique<Loaded>();
  l->result = app::loadTest(l->bench, path, l->op);
  return l;
}

TEST(Reader, LoadsAPlainTest) {
  auto l = load(FileBuilder{}.lines());
  const auto& t = l->bench.test;
  EXPECT_TRUE(l->result.shown);
  EXPECT_TRUE(l->op.messages().empty());
  EXPECT_TRUE(t.loaded);
  EXPECT_EQ(t.pinCount, 8);
  EXPECT_FALSE(t.isSoic);
  EXPECT_EQ(t.testNames[1], "Проба");
  EXPECT_EQ(t.cycleCount, 4);
  EXPECT_EQ(t.templateCycles, 4);
  EXPECT_EQ(t.pins[1].name, "A");
  EXPECT_EQ(t.level(1, 1), kLow);
  EXPECT_EQ(t.level(1, 2), kHigh);
  EXPECT_EQ(t.level(3, 3), kLow);
  EXPECT_EQ(t.level(5, 1), kDontCare);  // a pin without a signal
  EXPECT_EQ(t.level(1, 5), kDontCare);  // the closing cycle
  EXPECT_EQ(t.resultCode(3, 4), kNotMeasured);
  EXPECT_EQ(t.levels, 26409);
  EXPECT_EQ(t.cycleTime, 2);
  // Signal rows in file order, then the passive pins in ascending order.
  EXPECT_EQ(t.rowSignal(1), 1);
  EXPECT_EQ(t.rowSignal(3), 3);
  EXPECT_EQ(t.rowSignal(7), 4);
  EXPECT_EQ(t.rowSignal(8), 8);
  EXPECT_EQ(t.passivePinCount, 2);
  EXPECT_EQ(l->op.lines("log "), std::vector<std::string>{"Загруска теста:" + t.fileName});
  EXPECT_TRUE(l->bench.testReady());
}

TEST(Reader, TestNameAndTestCountForms) {
  FileBuilder b;
  b.head = {"Число Тестов=3", "Тест0=\"Имя\""};
  auto l = load(b.lines());
  EXPECT_EQ(l->bench.test.testNames[1], "Имя");
  EXPECT_EQ(l->bench.test.levels, 26409);  // the trailer is still found after the one block
  b.head = {"Число Тестов=1", "Тест0=\"\""};
  EXPECT_EQ(load(b.lines())->bench.test.testNames[1], "");
  b.head = {"Число Тестов=1", "Тест1=="};
  EXPECT_EQ(load(b.lines())->bench.test.testNames[1], "");
}

TEST(Reader, DataWordsAndTheirKinds) {
  FileBuilder b;
  b.words = {"Слов Данных=2", "СистемаСчисления=16", "Вход=2", "1", "2", "Выход=1|1", "3"};
  auto l = load(b.lines());
  const auto& t = l->bench.test;
  EXPECT_EQ(t.dataWordCount, 2);
  EXPECT_EQ(t.words[0].name, "Вход");
  EXPECT_EQ(t.words[0].ioKind, 2);  // without "|" the kind is the pin count
  EXPECT_EQ(t.words[1].ioKind, 1);
  EXPECT_EQ(t.words[0].pins[1], 1);
  EXPECT_EQ(t.words[0].pins[2], 2);
  EXPECT_EQ(t.words[1].radix, 16);
  // Word 0 holds inputs but says I/O.
  ASSERT_EQ(l->op.messages().size(), 1u);
  EXPECT_EQ(l->op.messages()[0].text, "Слово данных Вход I/O Содержит разные по типу контакты (I)");
}

TEST(Reader, InOutPinsAndFormulaOutputs) {
  FileBuilder b;
  b.types = {"I", "I", "O", "GND", "I/O", "O", "O", "VCC"};
  b.signals = {{"i1=A", "_-_-"},       {"i2=B", "__--"},    {"i5=D", "_-**"}, {"o5=D вых", "**-_"},
               {"o3=Y", "F=!(C1&C2)"}, {"o6=Z", "F=C1XC2"}, {"o7=W", "----"}};
  auto l = load(b.lines());
  const auto& t = l->bench.test;
  EXPECT_TRUE(l->result.shown);
  EXPECT_EQ(t.ioPinCount, 0);
  EXPECT_EQ(t.pins[5].name, "D");
  EXPECT_EQ(t.pins[55].name, "D вых");
  // Driven in cycles 1-2, read in 3-4, both on pin 5's slot.
  EXPECT_EQ(t.level(5, 1), kLow);
  EXPECT_EQ(t.level(5, 3), kHigh);
  EXPECT_EQ(t.level(5, 4), kLow);
  EXPECT_FALSE(t.isRead(5, 2));
  EXPECT_TRUE(t.isRead(5, 3));
  EXPECT_EQ(t.level(55, 3), kDontCare);
  // Formula outputs become "F" with their levels computed from the reference.
  EXPECT_EQ(t.pins[3].typeText, "F");
  EXPECT_EQ(t.pinTypeCodeOf(3), kOutput);
  EXPECT_EQ(t.formula[3], "!(C1&C2)");
  const uint8_t nand[] = {1, 1, 1, 0}, xorv[] = {0, 1, 1, 0};
  for (int c = 1; c <= 4; ++c) {
    EXPECT_EQ(t.level(3, c), nand[c - 1]) << c;
    EXPECT_EQ(t.level(6, c), xorv[c - 1]) << c;
  }
  // Rows: the output half takes a row that the next signal overwrites; rows end at the pin count.
  EXPECT_EQ(t.rowSignal(3), 5);
  EXPECT_EQ(t.rowSignal(4), 3);
  EXPECT_EQ(t.rowSignal(7), 4);
}

TEST(Reader, PackagesAndLineLimits) {
  FileBuilder b;
  b.package = "SOIC16";
  b.types.resize(16, "NC");
  auto l = load(b.lines());
  EXPECT_TRUE(l->bench.test.isSoic);
  EXPECT_EQ(l->bench.test.pinCount, 16);

  b.package = "soic16";
  l = load(b.lines());
  EXPECT_FALSE(l->bench.test.loaded);
  EXPECT_EQ(l->op.messages(),
            (std::vector<RecordingOperator::Message>{{"Неверный формат файла", Icon::Warning}}));
  EXPECT_EQ(l->bench.test.pinCount, 8);

  // 999 lines load; a final line break after them is the 1000th read.
  auto lines = FileBuilder{}.lines();
  lines.resize(999, "");
  EXPECT_TRUE(load(lines, false)->result.shown);
  l = load(lines, true);
  EXPECT_FALSE(l->bench.test.loaded);
  EXPECT_EQ(l->op.messages(),
            (std::vector<RecordingOperator::Message>{{"Невозможно открыть файл", Icon::Error}}));

  RecordingOperator op;
  engine::Bench bench;
  EXPECT_FALSE(app::loadTest(bench, "/nonexistent/t.qel", op).shown);
  EXPECT_EQ(op.messages(),
            (std::vector<RecordingOperator::Message>{{"Невозможно открыть файл", Icon::Error}}));
  EXPECT_EQ(bench.test.fileName, "/nonexistent/t.qel");
}

TEST(Reader, AFolderOrAHugeFileIsRefusedBeforeItIsRead) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir.file("folder.qel"));
  // Sparse: a terabyte that takes no disk, and must not be allocated either.
  { std::ofstream f(dir.file("huge.qel"), std::ios::binary); }
  std::filesystem::resize_file(dir.file("huge.qel"), std::uintmax_t{1} << 40);
  for (const char* name : {"folder.qel", "huge.qel"}) {
    SCOPED_TRACE(name);
    RecordingOperator op;
    engine::Bench bench;
    EXPECT_FALSE(app::loadTest(bench, dir.file(name), op).shown);
    EXPECT_EQ(op.messages(),
              (std::vector<RecordingOperator::Message>{{"Невозможно открыть файл", Icon::Error}}));
  }
}

TEST(Reader, TrailingSections) {
  FileBuilder b;
  b.tail = {"Конец Файла", "Дополнительные парметры:( uhul, gen)", "30000", "9", "Файл описания микросхемы",
            "doc/7400.pdf"};
  auto l = load(b.lines());
  EXPECT_EQ(l->bench.test.levels, 30000);
  EXPECT_EQ(l->bench.test.cycleTime, 2);  // outside 1..8
  EXPECT_EQ(l->bench.test.descriptionFile, "doc/7400.pdf");
  b.tail = {"Конец Файла"};
  l = load(b.lines());
  EXPECT_EQ(l->bench.test.levels, 26409);
  EXPECT_EQ(l->bench.test.cycleTime, 2);
  b.tail = {"Конец Файла", "( uhul, gen)", "26409", "7"};
  EXPECT_EQ(load(b.lines())->bench.test.cycleTime, 7);
}

TEST(Reader, AlgorithmParameters) {
  FileBuilder b;
  b.words = {"Слов Данных=2", "СистемаСчисления=16", "A=2|1", "1", "2", "D=1|1", "3"};
  b.tail = {"АлгоритмТестирования=7", "Конец Файла", "( uhul, gen)", "100", "3"};
  auto l = load(b.lines());
  EXPECT_EQ(l->bench.test.algorithmNumber, 7);  // no block, no parameter lines
  EXPECT_FALSE(l->bench.test.algorithms.standard.selected);
  EXPECT_EQ(l->bench.test.levels, 100);

  b.tail = {"АлгоритмТестирования=1", "Всего=3", "Начало=2", "Конец=3", "Конец Файла"};
  l = load(b.lines());
  const auto& c = l->bench.test.algorithms.cyclic;
  EXPECT_TRUE(c.selected);
  EXPECT_EQ(c.repeatCount, 3);
  EXPECT_EQ(c.repeatFirst, 2);
  EXPECT_EQ(c.repeatLast, 3);
  EXPECT_EQ(l->bench.test.templateCycles, 4);
}

TEST(Reader, TheMarchBlockStandsAfterTheTrailerWhereOlderReadersDoNotLook) {
  FileBuilder b;
  b.types = {"I", "I", "I/O", "GND", "I", "I", "O", "VCC"};
  b.words = {"Слов Данных=2", "СистемаСчисления=16", "A=2|0", "1", "2", "D=1|2", "3"};
  b.signals = {{"i1=A0", "****"}, {"i2=A1", "****"}, {"i3=D", "****"}, {"i5=/WE", "_---"}};
  const std::vector<std::string> block = {
      "Параметры алгоритма March C-:", "Начальный Адрес=1",       "Конечный Адрес=3",
      "Начальный Такт Чтения=3",       "Начальный Такт Записи=1", "Слово Адреса Чтения=1",
      "Слово Адреса Записи=1",         "Такт Адреса Чтения=3",    "Тактов Адреса Чтения=2",
      "Такт Адреса Записи=1",          "Тактов Адреса Записи=2",  "Слово Данных Чтения=2",
      "Слово Данных Записи=2",         "Такт Данных Чтения=4",    "Такт Данных Записи=1",
      "Тактов Данных Чтения=1",        "Тактов Данных Записи=2",  "Фон Данных=1"};
  b.tail = {"АлгоритмТестирования=4", "Дополнительные парметры:( uhul, gen)", "30000", "3"};
  b.tail.insert(b.tail.end(), block.begin(), block.end());
  b.tail.push_back("Конец Файла");
  auto l = load(b.lines());
  ASSERT_TRUE(l->result.shown) << (l->op.messages().empty() ? "" : l->op.messages()[0].text);
  const auto& t = l->bench.test;
  const MarchParams& m = t.algorithms.march;
  EXPECT_TRUE(m.selected);
  EXPECT_FALSE(t.algorithms.ram.selected);
  EXPECT_EQ(std::tuple(m.startAddress, m.finalAddress, m.readStartCycle, m.readDataWord, m.writeDataCycles),
            std::tuple(1, 3, 3, 1, 2));
  EXPECT_EQ(m.background, MarchBackground::Checkerboard);
  EXPECT_EQ(t.levels, 30000);
  EXPECT_EQ(t.templateCycles, 4);
  EXPECT_EQ(t.cycleCount, 3 * 5 * 4);

  // A reader that knows no such number takes the same file as the plain template with its trailer.
  b.tail[0] = "АлгоритмТестирования=5";
  l = load(b.lines());
  EXPECT_TRUE(l->result.shown);
  EXPECT_TRUE(l->op.messages().empty());
  EXPECT_EQ(l->bench.test.cycleCount, 4);
  EXPECT_EQ(std::tuple(l->bench.test.levels, l->bench.test.cycleTime), std::tuple(30000, 3));

  // Without its block, or with a background of no known kind, the file is not what it says.
  for (size_t drop : {size_t(4), b.tail.size() - 2}) {
    FileBuilder broken = b;
    broken.tail[0] = "АлгоритмТестирования=4";
    if (drop == 4)
      broken.tail.erase(broken.tail.begin() + 4);
    else
      broken.tail[drop] = "Фон Данных=2";
    l = load(broken.lines());
    EXPECT_EQ(l->op.messages(),
              (std::vector<RecordingOperator::Message>{{"Ошибка чтения файла LoadAlgData", Icon::Error}}));
    EXPECT_FALSE(l->result.shown);
  }
}

TEST(Reader, OnlyTheFirstReadErrorIsReportedAndTheTestStaysHidden) {
  FileBuilder b;
  b.signals = {{"iX=A", "_-_-"}, {"iY=B", "__--"}};
  b.tail = {"АлгоритмТестирования=два", "Конец Файла"};
  auto l = load(b.lines());
  EXPECT_EQ(l->op.messages(),
            (std::vector<RecordingOperator::Message>{{"Ошибка чтения файла LoadCont", Icon::Error}}));
  EXPECT_FALSE(l->result.shown);
  EXPECT_TRUE(l->result.readError);
  EXPECT_EQ(l->bench.test.cycleCount, 4);  // the model keeps what was read
}

TEST(Reader, FilesBeyondTheTablesAreRefusedWhole) {
  for (auto change : std::vector<std::function<void(FileBuilder&)>>{
           [](FileBuilder& b) {
             b.words = {"Слов Данных=11", "СистемаСчисления=10"};
           },
           [](FileBuilder& b) {
             b.signals.push_back({"i51=X", "----"});
           },
           [](FileBuilder& b) {
             b.signals.push_back({"o-2=X", "----"});
           },
           [](FileBuilder& b) {
             b.words = {"Слов Данных=1", "СистемаСчисления=10", "A=100", "1"};
           },
           [](FileBuilder& b) {
             b.words = {"Слов Данных=1", "СистемаСчисления=10", "A=1", "77"};
           },
           [](FileBuilder& b) { b.cycles = -5; },
       }) {
    FileBuilder b;
    change(b);
    auto l = load(b.lines());
    EXPECT_FALSE(l->bench.test.loaded);
    EXPECT_FALSE(l->result.shown);
    EXPECT_EQ(l->op.messages(),
              (std::vector<RecordingOperator::Message>{{"Неверный формат файла", Icon::Warning}}));
    EXPECT_EQ(l->bench.test.cycleCount, 0);
  }
}

TEST(Reader, SymbolLinesOfOtherLengths) {
  // A longer line grows the test and keeps every symbol; a shorter one leaves don't care.
  FileBuilder b;
  b.cycles = 2;
  std::string longLine;
  for (int i = 0; i < 5000; ++i) longLine.push_back(i % 3 ? '-' : '_');
  b.signals = {{"i1=A", longLine}, {"i2=B", "_"}};
  auto l = load(b.lines());
  const auto& t = l->bench.test;
  EXPECT_EQ(t.cycleCount, 5000);
  for (int c = 1; c <= 5000; ++c) ASSERT_EQ(t.level(1, c), (c - 1) % 3 ? kHigh : kLow) << c;
  EXPECT_EQ(t.level(2, 1), kLow);
  EXPECT_EQ(t.level(2, 2), kDontCare);

  // A second, shorter test shows nothing of the first.
  testing::TempDir dir;
  FileBuilder small;
  small.signals = {{"i1=A", "--"}};
  testing::writeLines(dir.file("s.qel"), small.lines());
  app::loadTest(l->bench, dir.file("s.qel"), l->op);
  EXPECT_EQ(l->bench.test.cycleCount, 4);
  EXPECT_EQ(l->bench.test.level(1, 3), kDontCare);
  EXPECT_EQ(l->bench.test.level(2, 1), kDontCare);
}

TEST(Reader, EveryPinAndCycleLandsWhereTheFileSaysWhateverTheLineLengths) {
  // 40 pins of every kind, lines of many lengths, I/O pins with both halves, a pin given twice;
  // the diagram must read as if each line were written cell by cell in file order.
  std::mt19937 rng(11);
  const int pins = 40, cycles = 700;
  FileBuilder b;
  b.package = "DIP40";
  b.types.clear();
  for (int p = 1; p <= pins; ++p)
    b.types.push_back(p == 20 ? "GND" : p == 40 ? "VCC" : p % 3 == 0 ? "I/O" : p % 3 == 1 ? "I" : "O");
  b.cycles = cycles;
  b.signals.clear();
  auto symbols = [&](int length) {
    std::string line;
    for (int i = 0; i < length; ++i) line.push_back("_-*x"[rng() % 4]);
    return line;
  };
  const int lengths[] = {cycles, cycles - 1, 63, 64, 65, 1, 0, 130, cycles};
  for (int p = 1; p <= pins; ++p) {
    if (p == 20 || p == 40) continue;
    b.signals.push_back({(p % 3 == 2 ? "o" : "i") + std::to_string(p) + "=P", symbols(lengths[p % 9])});
    if (p % 3 == 0) b.signals.push_back({"o" + std::to_string(p) + "=Q", symbols(lengths[(p + 4) % 9])});
  }
  b.signals.push_back({"i7=again", symbols(900)});  // past what the diagram holds: the test grows

  // The same lines applied one cell at a time.
  const int grown = 900;
  std::vector<std::array<uint8_t, 41>> level(grown + 2), read(grown + 2);
  for (int c = 0; c <= grown + 1; ++c)
    for (int p = 1; p <= pins; ++p) {
      level[size_t(c)][size_t(p)] = c >= 1 ? kDontCare : kLow;
      read[size_t(c)][size_t(p)] = 0;
    }
  for (const auto& [key, line] : b.signals) {
    const int p = std::stoi(key.substr(1));
    const bool half = key[0] == 'o' && p % 3 == 0;
    for (size_t j = 1; j <= line.size(); ++j) {
      const char ch = line[j - 1];
      const uint8_t v = ch == '_' ? kLow : ch == '-' ? kHigh : kDontCare;
      if (!half) {
        level[j][size_t(p)] = v;
        read[j][size_t(p)] = 0;
      } else if (v != kDontCare) {
        level[j][size_t(p)] = v;
        read[j][size_t(p)] = 1;
      }
    }
  }

  auto l = load(b.lines());
  const auto& t = l->bench.test;
  ASSERT_TRUE(l->result.shown) << (l->op.messages().empty() ? "" : l->op.messages()[0].text);
  ASSERT_EQ(t.cycleCount, grown);
  for (int c = 0; c <= grown; ++c)
    for (int p = 1; p <= pins; ++p) {
      ASSERT_EQ(t.level(p, c), level[size_t(c)][size_t(p)]) << "pin " << p << " cycle " << c;
      // Inputs are driven in every cycle after the load.
      const bool expectRead = t.pinTypeCodeOf(p) != kInput && read[size_t(c)][size_t(p)];
      ASSERT_EQ(t.isRead(p, c), expectRead) << "pin " << p << " cycle " << c;
    }
  EXPECT_EQ(t.level(7, grown + 1), kDontCare);
}

TEST(Reader, AFileLargerThanOneReadIsReadInPieces) {
  // Lines of a million symbols run across the reads of the stream.
  FileBuilder b;
  b.cycles = 999'999;
  b.signals.clear();
  std::vector<std::string> lines;
  for (int p = 1; p <= 6; ++p) {
    std::string line(999'999, '_');
    for (size_t i = 0; i < line.size(); ++i)
      if ((i * 7 + size_t(p)) % 5 < 2) line[i] = '-';
    b.signals.push_back({"i" + std::to_string(p) + "=P", line});
  }
  auto l = load(b.lines());
  const auto& t = l->bench.test;
  ASSERT_TRUE(l->result.shown);
  ASSERT_EQ(t.cycleCount, 999'999);
  for (int p = 1; p <= 6; ++p)
    for (int c = 1; c <= 999'999; ++c)
      ASSERT_EQ(t.level(p, c), (size_t(c - 1) * 7 + size_t(p)) % 5 < 2 ? kHigh : kLow) << p << " " << c;
  EXPECT_EQ(t.levels, 26409);  // the trailer after them
}

TEST(Reader, AFileFoundUnreadablePastItsStartKeepsNothingAndSaysOnlyThat) {
  // A read error near the top, then more lines than a file may have, or a read longer than any.
  for (const bool tooLong : {false, true}) {
    SCOPED_TRACE(tooLong);
    FileBuilder b;
    b.cycles = 4;
    b.head = {"Число Тестов=1", "Тест1==Проба\""};
    b.words = {"Слов Данных=два"};
    auto lines = b.lines();
    if (tooLong)
      lines.push_back(std::string(1'000'001, '-'));
    else
      lines.resize(1200, "x");
    auto l = load(lines);
    EXPECT_EQ(l->op.messages(),
              (std::vector<RecordingOperator::Message>{{"Невозможно открыть файл", Icon::Error}}));
    EXPECT_FALSE(l->result.shown);
    EXPECT_FALSE(l->bench.test.loaded);
    EXPECT_EQ(l->bench.test.cycleCount, 0);
    EXPECT_EQ(l->bench.test.pinCount, 8);
    EXPECT_EQ(l->bench.test.pins[3].typeText, "I");
    EXPECT_EQ(l->bench.test.level(1, 1), kDontCare);
  }
}

TEST(Reader, AFileLoadsAlikeWhateverWasLoadedBefore) {
  // Its line is longer than its cycles: whether that grows the test depended on how large an
  // earlier test had left the buffers.
  FileBuilder small;
  small.cycles = 2;
  small.signals = {{"i1=A", std::string(300, '-')}};
  FileBuilder big;
  big.cycles = 20'000;
  big.signals = {{"i1=A", "-"}};
  testing::TempDir dir;
  testing::writeLines(dir.file("small.qel"), small.lines());
  testing::writeLines(dir.file("big.qel"), big.lines());
  RecordingOperator op;
  engine::Bench fresh, used;
  app::loadTest(fresh, dir.file("small.qel"), op);
  app::loadTest(used, dir.file("big.qel"), op);
  app::loadTest(used, dir.file("small.qel"), op);
  EXPECT_EQ(fresh.test.cycleCount, 300);
  EXPECT_EQ(used.test.cycleCount, 300);
  EXPECT_EQ(used.test.level(1, 300), kHigh);
  EXPECT_EQ(used.test.level(1, 301), kDontCare);
}

TEST(Reader, BitMatricesTransposeExactly) {
  std::mt19937_64 rng(5);
  std::array<uint64_t, 64> a;
  for (auto& w : a) w = rng();
  auto t = a;
  testfile::transposeBits(t);
  for (size_t i = 0; i < 64; ++i)
    for (size_t j = 0; j < 64; ++j) ASSERT_EQ((t[j] >> i) & 1, (a[i] >> j) & 1) << i << " " << j;
}

}  // namespace
}  // namespace qel
