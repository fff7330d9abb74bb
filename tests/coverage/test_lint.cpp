#include <gtest/gtest.h>

#include "coverage/test_lint.h"

using namespace qel;

namespace {

// Pin levels of one cycle: pin -> level; the rest don't care.
void cycle(TestDescription& t, int c, std::initializer_list<std::pair<int, int>> levels,
           std::initializer_list<int> read) {
  for (auto [pin, level] : levels) t.setLevel(pin, c, uint8_t(level));
  for (int p = 1; p <= t.pinCount; ++p) t.setRead(p, c, t.pinTypeCodeOf(p) == kOutput);
  for (int p : read) t.setRead(p, c, true);
}

}  // namespace

TEST(TestLint, EachRuleOnVectorsWithAKnownAnswer) {
  TestDescription t;
  t.reset();
  t.pinCount = 14;
  const char* types[15] = {"",  "I",   "I",   "O",  "I",  "I",  "O",  "GND",
                           "O", "I/O", "I/O", "NC", "NC", "NC", "VCC"};
  for (int p = 1; p <= 14; ++p) t.pins[size_t(p)].typeText = types[p];
  t.pins[1].name = "A";
  t.computeTypeCodes();
  t.setCycleCount(3);
  // Pin 3 is A NAND B. The first two cycles differ only in A and expect the same output; the last
  // two differ only in B and expect different ones. Pin 4 stays high, pin 5 is never given, pin 6
  // is only ever low, pin 8 never compared; I/O 9 is only driven (low), I/O 10 only read (high).
  cycle(t, 1, {{1, 0}, {2, 0}, {3, 1}, {4, 1}, {6, 0}, {9, 0}, {10, 1}}, {10});
  cycle(t, 2, {{1, 1}, {2, 0}, {3, 1}, {4, 1}, {6, 0}, {9, 0}, {10, 1}}, {10});
  cycle(t, 3, {{1, 1}, {2, 1}, {3, 0}, {4, 1}, {6, 0}, {9, 0}, {10, 1}}, {10});
  t.loaded = true;

  std::vector<std::pair<int, std::string>> got;
  for (const auto& f : coverage::lintTest(t)) got.emplace_back(f.pin, f.text);
  const std::vector<std::pair<int, std::string>> expected = {
      {1,
       "вход 1 (A): влияние на выходы не доказано, ни одна пара векторов, различающихся только на этом "
       "выводе, не меняет ожидаемый выход"},
      {4, "вход 4 ни разу не переключается (всегда 1): его залипание в 1 тест не обнаружит"},
      {5, "вход 5 ни разу не задан: его неисправности тест не обнаружит"},
      {6, "выход 6 ни разу не ожидается в 1: его залипание в 0 тест не обнаружит"},
      {8, "выход 8 ни разу не проверяется: его неисправности тест не обнаружит"},
      {9, "вывод I/O 9 ни разу не читается: как выход он не проверен"},
      {9, "вывод I/O 9 ни разу не переключается (всегда 0): его залипание в 0 тест не обнаружит"},
      {10, "вывод I/O 10 ни разу не задаётся: как вход он не проверен"},
      {10, "вывод I/O 10 ни разу не ожидается в 0: его залипание в 1 тест не обнаружит"},
  };
  EXPECT_EQ(got, expected);

  // One more cycle, differing from the first only in A, that changes the output proves A.
  t.setCycleCount(4);
  cycle(t, 4, {{1, 1}, {2, 0}, {3, 0}, {4, 1}, {6, 0}, {9, 0}, {10, 1}}, {10});
  for (const auto& f : coverage::lintTest(t)) EXPECT_NE(f.pin, 1) << f.text;
}
