#include <gtest/gtest.h>

#include "text/codepage.h"

namespace qel::text {
namespace {

TEST(Codepage, FileBytesFollowTheFixedLetterRule) {
  // cp866 "Тест" and "№", "р".."я", and the capitals; ASCII passes through.
  EXPECT_EQ(fileLineToUtf8("\x92\xA5\xE1\xE2=1"), "Тест=1");
  EXPECT_EQ(fileLineToUtf8("\xFC"), "№");
  EXPECT_EQ(fileLineToUtf8("\xE0\xEF"), "ря");
  EXPECT_EQ(fileLineToUtf8("\x80\x9F\xA0\xAF"), "АЯап");
  // Box drawing is left alone, as files written by the program may carry cp1251 bytes there.
  EXPECT_EQ(fileLineToUtf8("\xB1"), "±");
}

TEST(Codepage, YoSurvivesARoundTrip) {
  // cp866 Ё and ё are letters, not "р" and "с".
  EXPECT_EQ(fileLineToUtf8("\xF0\xF1"), "Ёё");
  EXPECT_EQ(utf8ToFileLine("Ёё"), "\xF0\xF1");
  for (const std::string s : {"Ёлка ёж", "Счётчик №5", "Слово данных", "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
                              "абвгдежзийклмнопрстуфхцчшщъыьэюя"})
    EXPECT_EQ(fileLineToUtf8(utf8ToFileLine(s)), s) << s;
}

TEST(Codepage, WriterUsesTheInverseRule) {
  EXPECT_EQ(utf8ToFileLine("Тест1==Имя\""),
            "\x92\xA5\xE1\xE2"
            "1==\x88\xAC\xEF\"");
  EXPECT_EQ(utf8ToFileLine("№"), "\xFC");
  // A character without a cp1251 byte is written as "?" rather than dropped.
  EXPECT_EQ(utf8ToFileLine("a\xE2\x98\x83z"), "a?z");
}

TEST(Codepage, CountsCharactersNotBytes) {
  EXPECT_EQ(utf8Length("Вход12345"), 9u);
  EXPECT_EQ(utf8Prefix("Вход12345", 8), "Вход1234");
  EXPECT_EQ(utf8Prefix("ab", 8), "ab");
  EXPECT_EQ(cp1251ToUtf8(utf8ToCp1251("Ёжик")), "Ёжик");
}

}  // namespace
}  // namespace qel::text
