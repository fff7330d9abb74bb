#include <gtest/gtest.h>

#include <filesystem>

#include "app/save_test.h"
#include "app/test_loader.h"
#include "bench_staging.h"
#include "recording_operator.h"
#include "temp_files.h"
#include "test_builder.h"
#include "testfile/writer.h"

namespace qel {
namespace {

using testing::RecordingOperator;

// A chip that answers exactly what the reference expects.
void measureAsExpected(TestDescription& t) {
  for (int c = 1; c <= t.cycleCount; ++c)
    for (int p = 1; p <= t.pinCount; ++p) {
      const auto l = t.level(p, c);
      t.setResultCode(p, c, l == kLow ? kReadLow : l == kHigh ? kReadHigh : kReadOther4);
    }
}

TEST(Writer, SavedResultLoadsBackAsTheSameTest) {
  for (const char* name : {"nand7400.qel", "dff7474.qel", "counter161_radix8.qel", "nand7400_soic.qel"}) {
    RecordingOperator op;
    engine::Bench a;
    ASSERT_TRUE(app::loadTest(a, testing::example(name), op).shown);
    measureAsExpected(a.test);
    testing::TempDir dir;
    ASSERT_EQ(testfile::writeTestFile(a.test, dir.file("out.qel"), testfile::WriteSource::Result), "");
    engine::Bench b;
    ASSERT_TRUE(app::loadTest(b, dir.file("out.qel"), op).shown) << name;
    EXPECT_TRUE(op.messages().empty());
    EXPECT_EQ(b.test.cycleCount, a.test.cycleCount);
    EXPECT_EQ(b.test.isSoic, a.test.isSoic);
    EXPECT_EQ(b.test.testNames[1], a.test.testNames[1]);
    EXPECT_EQ(b.test.dataWordCount, a.test.dataWordCount);
    for (int r = 1; r <= a.test.pinCount; ++r) {
      const int slot = a.test.rowSignal(r);
      EXPECT_EQ(b.test.rowSignal(r), slot);
      EXPECT_EQ(b.test.pins[size_t(slot)].name, a.test.pins[size_t(slot)].name);
      for (int c = 1; c <= a.test.cycleCount; ++c)
        ASSERT_EQ(b.test.level(slot, c), a.test.level(slot, c)) << name;
    }
  }
}

TEST(Writer, WritesWhatTheResultSays) {
  testing::FileBuilder fb;
  fb.types = {"I", "I", "O", "GND", "I", "O", "O", "VCC"};
  fb.signals = {{"i1=Длинноеимя12", "_-_-"}, {"i2=B", "__--"}, {"o3=Y", "F=C1&C2"}, {"o6=Z", "-*--"}};
  testing::TempDir dir;
  testing::writeLines(dir.file("in.qel"), fb.lines());
  RecordingOperator op;
  engine::Bench bench;
  ASSERT_TRUE(app::loadTest(bench, dir.file("in.qel"), op).shown);
  auto& t = bench.test;
  t.pins[7].typeText = "O=F(c)";
  // Z: read low, then high where don't care, then a code the writer cannot settle, then 4.
  t.setResultCode(6, 1, kReadLow);
  t.setResultCode(6, 2, kReadHigh);
  t.setResultCode(6, 3, kNotMeasured);
  t.setResultCode(6, 4, kReadOther4);
  t.setResultCode(1, 1, kReadHigh);
  const std::string text = text::fileLineToUtf8(testfile::formatTestFile(t, testfile::WriteSource::Result));
  EXPECT_NE(text.find("Тип корпуса=DIP8\r\n1=I\r\n"), std::string::npos);
  EXPECT_NE(text.find("7=O\r\n"), std::string::npos);
  EXPECT_NE(text.find("3=F\r\n"), std::string::npos);
  EXPECT_NE(text.find("Число Тестов=1\r\nТест1==Проба\"\r\nСлов Данных=0\r\nЧисло Тактов=4\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("Число сигналов управления=6\r\n"), std::string::npos);
  EXPECT_NE(text.find("i1=Длинноеимя12\r\n-***\r\n"), std::string::npos);
  EXPECT_NE(text.find("o3=Y\r\nF=C1&C2\r\n"), std::string::npos);
  EXPECT_NE(text.find("o6=Z\r\n_***\r\n"), std::string::npos);
  EXPECT_NE(text.find("Конец Файла\r\nДополнительные парметры:( uhul, gen)\r\n26409\r\n2\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("АлгоритмТестирования"), std::string::npos);
}

TEST(Writer, ReferenceOfInOutPinsLoadsBackExactly) {
  RecordingOperator op;
  engine::Bench a;
  ASSERT_TRUE(app::loadTest(a, testing::example("transceiver245.qel"), op).shown);
  testing::TempDir dir;
  ASSERT_EQ(testfile::writeTestFile(a.test, dir.file("ref.qel"), testfile::WriteSource::Reference), "");
  engine::Bench b;
  ASSERT_TRUE(app::loadTest(b, dir.file("ref.qel"), op).shown);
  for (int p = 1; p <= 20; ++p)
    for (int c = 1; c <= a.test.cycleCount; ++c) {
      ASSERT_EQ(b.test.level(p, c), a.test.level(p, c)) << p << "/" << c;
      if (a.test.pins[size_t(p)].typeText == "I/O") {
        ASSERT_EQ(b.test.isRead(p, c), a.test.isRead(p, c)) << p;
      }
    }
}

TEST(Writer, AFailedSaveLeavesTheOldFileWhole) {
  testing::TempDir dir;
  RecordingOperator op;
  engine::Bench bench;
  ASSERT_TRUE(app::loadTest(bench, testing::example("nand7400.qel"), op).shown);
  EXPECT_NE(testfile::writeTestFile(bench.test, dir.file("missing/x.qel"), testfile::WriteSource::Result),
            "");
  // The target is a folder with content: the rename fails and the folder stays as it was.
  std::filesystem::create_directories(dir.path() / "busy.qel" / "inside");
  EXPECT_NE(testfile::writeTestFile(bench.test, dir.file("busy.qel"), testfile::WriteSource::Result), "");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "busy.qel" / "inside"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("busy.qel.part")));
  // A good save replaces the old bytes.
  testing::writeLines(dir.file("old.qel"), {"old"});
  ASSERT_EQ(testfile::writeTestFile(bench.test, dir.file("old.qel"), testfile::WriteSource::Result), "");
  EXPECT_EQ(testing::readBytes(dir.file("old.qel")).substr(0, 4), text::utf8ToFileLine("Тип "));
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

TEST(SaveResult, OnlyAfterARunAndNeverOverAFileUnasked) {
  testing::TempDir dir;
  RecordingOperator op;
  engine::Bench bench;
  ASSERT_TRUE(app::loadTest(bench, testing::example("nand7400.qel"), op).shown);
  // Freshly loaded: nothing measured, nothing saved, not even a question.
  EXPECT_EQ(app::saveResultAs(bench, dir.file("a.qel"), op), app::SaveOutcome::NotAvailable);
  EXPECT_FALSE(std::filesystem::exists(dir.file("a.qel")));

  measureAsExpected(bench.test);
  bench.errors.errorCount = 3;
  engine::BenchStaging::busy(bench, true);
  EXPECT_EQ(app::saveResultAs(bench, dir.file("a.qel"), op), app::SaveOutcome::NotAvailable);
  engine::BenchStaging::busy(bench, false);
  EXPECT_EQ(app::saveResultAs(bench, dir.file("a.qel"), op), app::SaveOutcome::Saved);
  EXPECT_EQ(bench.test.fileName, dir.file("a.qel"));
  EXPECT_EQ(bench.errors.errorCount, 0);
  EXPECT_EQ(op.errorCounterText(), "0/0");

  op.clear();
  op.answers = {false};
  EXPECT_EQ(app::saveResultAs(bench, dir.file("a.qel"), op), app::SaveOutcome::Declined);
  EXPECT_EQ(op.events(), std::vector<std::string>{"ask Заменить существующий файл?"});

  std::filesystem::create_directories(dir.path() / "dir.qel" / "x");
  op.answers = {true};
  EXPECT_EQ(app::saveResultAs(bench, dir.file("dir.qel"), op), app::SaveOutcome::Failed);
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0].icon, Icon::Error);
  EXPECT_EQ(op.messages()[0].text.rfind("Не удалось сохранить файл", 0), 0u);
}

}  // namespace
}  // namespace qel
