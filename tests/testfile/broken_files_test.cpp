#include <gtest/gtest.h>

#include "app/test_loader.h"
#include "recording_operator.h"
#include "temp_files.h"

namespace qel {
namespace {

using testing::RecordingOperator;

TEST(Examples, EveryGoodExampleLoadsWithoutAMessage) {
  for (const char* name :
       {"nand7400.qel", "nand7400_soic.qel", "dff7474.qel", "transceiver245.qel", "counter161_radix2.qel",
        "counter161_radix8.qel", "counter161_radix10.qel", "counter161_radix16.qel"}) {
    RecordingOperator op;
    engine::Bench bench;
    const auto r = app::loadTest(bench, testing::example(name), op);
    EXPECT_TRUE(r.shown) << name;
    EXPECT_TRUE(op.messages().empty()) << name << ": " << op.messages().front().text;
    EXPECT_GT(bench.test.cycleCount, 0) << name;
  }
}

TEST(Examples, EachBrokenFileSaysWhatIsWrong) {
  const std::pair<const char*, RecordingOperator::Message> cases[] = {
      {"bad_package_case.qel", {"Неверный формат файла", Icon::Warning}},
      {"bad_package_unknown.qel", {"Неверный формат файла", Icon::Warning}},
      {"bad_too_many_lines.qel", {"Невозможно открыть файл", Icon::Error}},
      {"bad_word_count.qel", {"Ошибка чтения файла LoadWordName", Icon::Error}},
      {"bad_radix.qel", {"Ошибка чтения файла LoadWordSys", Icon::Error}},
      {"bad_word_pin_count.qel", {"Ошибка чтения файла LoadWordColCont", Icon::Error}},
      {"bad_word_pin.qel", {"Ошибка чтения файла LoadWordCont", Icon::Error}},
      {"bad_cycle_count.qel", {"Ошибка чтения файла LoadS", Icon::Error}},
      {"bad_signal_count.qel", {"Ошибка чтения файла LoadKolLeg", Icon::Error}},
      {"bad_signal_pin.qel", {"Ошибка чтения файла LoadCont", Icon::Error}},
      {"bad_algorithm.qel", {"Ошибка чтения файла LoadAlgot", Icon::Error}},
      {"bad_algorithm_parameter.qel", {"Ошибка чтения файла LoadAlgData", Icon::Error}},
      {"bad_address.qel", {"Ошибка чтения файла LoadA", Icon::Error}},
      {"bad_levels.qel", {"Ошибка чтения файла LoadParam", Icon::Error}},
      {"bad_too_many_words.qel", {"Неверный формат файла", Icon::Warning}},
      {"bad_signal_beyond_table.qel", {"Неверный формат файла", Icon::Warning}},
  };
  for (const auto& [name, expected] : cases) {
    RecordingOperator op;
    engine::Bench bench;
    const auto r = app::loadTest(bench, testing::example(std::string("broken/") + name), op);
    EXPECT_FALSE(r.shown) << name;
    ASSERT_FALSE(op.messages().empty()) << name;
    EXPECT_EQ(op.messages().front(), expected) << name;
  }
}

}  // namespace
}  // namespace qel
