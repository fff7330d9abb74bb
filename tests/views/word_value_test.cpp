#include <gtest/gtest.h>

#include "recording_operator.h"
#include "views/word_value.h"

namespace qel::views {
namespace {

using qel::testing::RecordingOperator;

TestDescription withWord(std::vector<int> levels, int radix) {
  TestDescription t;
  t.pinCount = 16;
  t.setCycleCount(2);
  t.dataWordCount = 1;
  t.words[0].radix = radix;
  for (size_t i = 0; i < levels.size(); ++i) {
    t.words[0].pins[i + 1] = int(i + 1);
    t.setLevel(int(i + 1), 1, uint8_t(levels[i]));
    t.setResultCode(int(i + 1), 1, uint8_t(levels[i] + 1));
  }
  return t;
}

TEST(WordValue, FormatsInEachRadix) {
  const std::pair<int, const char*> cases[] = {{2, "1101"}, {10, "13"}, {16, "D"}, {8, "15"}};
  for (auto [radix, text] : cases) {
    auto t = withWord({1, 0, 1, 1}, radix);
    EXPECT_EQ(formatWordValue(t, 1, 0, Source::Reference), text);
    EXPECT_EQ(formatWordValue(t, 1, 0, Source::Result), text);
    EXPECT_EQ(formatWordValue(t, 0, 0, Source::Reference), " ");
  }
  EXPECT_EQ(formatWordValue(withWord({1, 0, 0, 0, 0, 0, 0, 0, 1}, 16), 1, 0, Source::Reference), "101");
  EXPECT_EQ(formatWordValue(withWord({0, 0, 0, 0, 0, 0, 0, 0}, 16), 1, 0, Source::Reference), "00");
  EXPECT_EQ(formatWordValue(withWord({1, 1, 1, 1}, 8), 1, 0, Source::Reference), "17");
  EXPECT_EQ(formatWordValue(withWord({1, 0, 1}, 7), 1, 0, Source::Reference), "");
  // A word without pins.
  for (auto [radix, text] : {std::pair{10, "0"}, {16, "0"}, {2, ""}, {8, ""}})
    EXPECT_EQ(formatWordValue(withWord({}, radix), 1, 0, Source::Reference), text);
}

TEST(WordValue, UndefinedBitsMakeTheWholeValueUndefined) {
  auto t = withWord({1, 0, 1, 1}, 16);
  t.setLevel(3, 1, kDontCare);
  EXPECT_EQ(formatWordValue(t, 1, 0, Source::Reference), "Неопределено");
  EXPECT_EQ(formatWordValue(t, 2, 0, Source::Result), "Неопределено");  // not measured
  t.setResultCode(2, 1, kReadOther4);
  EXPECT_EQ(formatWordValue(t, 1, 0, Source::Result), "Неопределено");
}

TEST(WordValue, SelectorHint) {
  DataWord w;
  w.name = "A";
  w.radix = 16;
  w.pins[1] = 3;
  w.pins[2] = 4;
  w.pins[3] = 5;
  EXPECT_EQ(wordSelectorHint(w), "Слово: A, Систеам счисления: 16, Конткты: 3; 4; 5.");
  DataWord empty;
  empty.name = "Б";
  EXPECT_EQ(wordSelectorHint(empty), "Слово: Б, Систеам счисления: 10, Конткты:нет");
}

TEST(WordValue, ContactKindsAfterLoad) {
  TestDescription t;
  t.pinCount = 8;
  const char* types[] = {"I", "I", "O", "I/O", "NC", "I", "I", "VCC"};
  for (int p = 1; p <= 8; ++p) t.pins[size_t(p)].typeText = types[p - 1];
  t.dataWordCount = 4;
  t.words[0] = DataWord{"A", {0, 1, 2}, 0, 16, 0, 0};
  t.words[1] = DataWord{"B", {0, 1, 2, 3}, 0, 16, 0, 0};
  t.words[2] = DataWord{"C", {0, 5}, 0, 16, 0, 2};
  t.words[3] = DataWord{"D", {0, 1, 3, 4}, 0, 16, 0, 7};
  RecordingOperator op;
  checkWordContactKinds(t, op);
  EXPECT_EQ(op.messages(), (std::vector<RecordingOperator::Message>{
                               {"Слово данных B I Содержит разные по типу контакты (I,О)", Icon::Error},
                               {"Ошибка программы. Обратитесь к разработчикам", Icon::Error},
                               {"Слово данных C I/O Содержит разные по типу контакты (", Icon::Error},
                               {"Слово данных D I Содержит разные по типу контакты (I,О,I/O)", Icon::Error},
                           }));
  RecordingOperator quiet;
  checkWordContactKinds(t, quiet, false);
  EXPECT_EQ(quiet.messages().size(), 1u);  // the program error is always shown
}

}  // namespace
}  // namespace qel::views
