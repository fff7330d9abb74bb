#pragma once
// Writing a number onto the pins of a data word in one cycle.

#include <cstdint>
#include <vector>

#include "model/test_description.h"

namespace qel::algorithms {

// Drive: the tester drives the levels. Expect: the levels are read from the chip and compared.
enum class WordMode { Drive, Expect };

// Bit k of value goes to the k-th pin of the word (slot order) for k < width; every pin of the
// word gets the direction of the mode. Grows the test when the cycle lies beyond it.
void writeWordValue(TestDescription& test, const DataWord& word, int width, int cycle, uint32_t value,
                    WordMode mode);

// The pins of a word resolved once, for the expansions that write the same word into many cycles.
class WordPins {
 public:
  WordPins() = default;
  WordPins(const DataWord& word, int width);

  void write(TestDescription& test, int cycle, uint32_t value, WordMode mode) const;
  int width() const { return int(valuePins_.size()); }

 private:
  // Digits on consecutive pins, written eight at a time.
  struct Run {
    int firstPin, firstDigit, length;
  };
  // Pin of digit k, or 0 when that pin has no reference slot (above 100).
  std::vector<int> valuePins_;
  std::vector<Run> runs_;
  // Pins that have a direction bit (1..50), singly and as a mask.
  std::vector<int> directionPins_;
  uint64_t directionMask_ = 0;
};

}  // namespace qel::algorithms
