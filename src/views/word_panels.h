#pragma once
// The three data-word panels under the diagram: how many show, and their texts.

#include <string>

#include "model/test_description.h"
#include "views/word_value.h"

namespace qel::views {

inline constexpr int kWordPanelStep = 30;  // one panel; the container is 30, 60 or 90 high

// "Увеличить панель Слов данных": 30 -> 60 -> 90, then stays.
constexpr int enlargeWordPanels(int height) {
  return height <= 30 ? 60 : height <= 60 ? 90 : height;
}
// "Уменьшить панель слов данных": 90 -> 60 -> 30, then stays.
constexpr int shrinkWordPanels(int height) {
  return height >= 31 && height <= 60 ? 30 : height >= 61 && height <= 90 ? 60 : height;
}
constexpr int visibleWordPanels(int height) {
  return height <= 30 ? 1 : height <= 60 ? 2 : 3;
}

struct WordPanelTexts {
  std::string reference;
  std::string result;
};
// Values of word w in the cursor cycle; nothing selected (w < 0) gives empty texts.
WordPanelTexts wordPanelTexts(const TestDescription& test, int word, int cursorCycle);

// Radix selector of the words dialog: "Двоичная", "Восьмеричная", "Десятичная", "Шестнадцатиричная".
int radixOfChoice(int index);
int choiceOfRadix(int radix);
// "I-Входные", "O-Выходные", "I/O-Двунаправленные" by ioKind (above 2 counts as I).
int ioChoiceOfKind(int ioKind);
// One line of the contacts list: "3 - A0".
std::string contactLine(const TestDescription& test, int pin);

}  // namespace qel::views
