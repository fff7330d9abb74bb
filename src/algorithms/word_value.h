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
  int width() const { return width_; }

 private:
  // Digits on consecutive pins, written as one shifted run.
  struct Run {
    int firstPin, firstDigit, length;
  };
  struct WidePin {
    int pin, digit;
  };
  int width_ = 0;
  std::vector<Run> runs_;          // pins 1..64
  std::vector<WidePin> widePins_;  // pins past 64, cell by cell
  uint64_t levelMask_ = 0;         // pins 1..64 that take a digit, pin p at bit p - 1
  uint64_t directionMask_ = 0;     // pins with a direction (1..50)
};

}  // namespace qel::algorithms
