#pragma once
// Formula outputs: an expected level computed from other pins' levels, e.g. "!(C1&C2)".
// Operators apply strictly left to right; "X" is exclusive or; "!" inverts a bracket.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::views {

// levels[1..50]; anything but 0 or 1 is undecidable.
using PinLevels = std::array<uint8_t, 51>;

// 0, 1, or 2 when the value cannot be decided.
int evaluateFormula(std::string_view formula, const PinLevels& levels);

// The same formula prepared once for evaluation over many cycles.
class CompiledFormula {
 public:
  explicit CompiledFormula(std::string_view formula);
  // Pins the formula reads, in order of appearance; 0 stands for an unusable reference.
  const std::vector<int>& pins() const { return pins_; }
  int evaluate(const PinLevels& levels) const;

 private:
  std::string shape_;          // the text after substitution, '?' where a pin digit goes
  std::vector<size_t> slots_;  // positions of the '?' in shape_
  std::vector<int> pins_;
  bool undecidable_ = false;  // a reference that can never be resolved
};

}  // namespace qel::views
