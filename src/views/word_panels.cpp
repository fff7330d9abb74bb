#include "views/word_panels.h"

namespace qel::views {

WordPanelTexts wordPanelTexts(const TestDescription& test, int word, int cursorCycle) {
  if (word < 0 || word >= test.dataWordCount || word >= kMaxDataWords) return {};
  return {formatWordValue(test, cursorCycle, word, Source::Reference),
          formatWordValue(test, cursorCycle, word, Source::Result)};
}

int radixOfChoice(int index) {
  static constexpr int kRadix[] = {2, 8, 10, 16};
  return index >= 0 && index < 4 ? kRadix[index] : 10;
}

int choiceOfRadix(int radix) {
  switch (radix) {
    case 2:
      return 0;
    case 8:
      return 1;
    case 16:
      return 3;
    default:
      return 2;
  }
}

int ioChoiceOfKind(int ioKind) {
  return ioKind >= 0 && ioKind <= 2 ? ioKind : 0;
}

std::string contactLine(const TestDescription& test, int pin) {
  const std::string name = pin >= 1 && pin < kPinRecords ? test.pins[size_t(pin)].name : std::string();
  return std::to_string(pin) + " - " + name;
}

}  // namespace qel::views
