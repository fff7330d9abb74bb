#include "text/upper_case.h"

#include <gtest/gtest.h>

namespace qel::text {
namespace {

TEST(UpperCase, LatinAndCyrillicOnlyTheRestUntouched) {
  EXPECT_EQ(upperCase("74ls193n"), "74LS193N");
  EXPECT_EQ(upperCase("к555ие7"), "К555ИЕ7");
  EXPECT_EQ(upperCase("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"), "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  EXPECT_EQ(upperCase("іїєґў"), "ІЇЄҐЎ");
  EXPECT_EQ(upperCase("КР1533ЛА3 №5 µ"), "КР1533ЛА3 №5 µ");
  // A lead byte cut off at the end stays as it was.
  EXPECT_EQ(upperCase(std::string("a\xD0", 2)), std::string("A\xD0", 2));
}

}  // namespace
}  // namespace qel::text
