#pragma once
// Data words: a group of pins (an address or data bus) shown as one number.

#include <string>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::views {

enum class Source { Reference, Result };

inline constexpr const char* kUndefined = "Неопределено";

// The word's value in a cycle, in the test's radix (the radix of word 0).
std::string formatWordValue(const TestDescription& test, int cycle, int word, Source source);

// The bits of a word in a cycle, first pin lowest; undefined when a pin is neither 0 nor 1.
struct WordBits {
  uint64_t value = 0;
  int bits = 0;
  bool undefined = false;
};
// word must be a valid index and cycle at least 1.
WordBits readWordBits(const TestDescription& test, int cycle, int word, Source source);
// The text of a word's bits in a radix, as formatWordValue writes it.
std::string formatWordBits(const WordBits& w, int radix);

// Hint of a word selector: "Слово: A, Систеам счисления: 16, Конткты: 3; 4; 5."
std::string wordSelectorHint(const DataWord& word);

// After a load: every word whose pins are of another kind than it says is reported.
void checkWordContactKinds(const TestDescription& test, Operator& op, bool showMessages = true);

}  // namespace qel::views
