#pragma once
// The comparison run over a measured test, the list of cycles that hold errors, and the steps
// through it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::views {

inline constexpr int kMaxErrors = 9999;

struct ErrorList {
  std::vector<int32_t> errorCycles;  // ascending; errorCycles[i-1] is error i
  int32_t errorCount = 0;
  int32_t currentError = 0;   // 0 before the first step
  int32_t mismatchCount = 0;  // error cycles with a disagreement on a driven pin

  void clear() {
    errorCycles.clear();
    errorCount = 0;
    currentError = 0;
    mismatchCount = 0;
  }
  int32_t cycleOf(int32_t index) const {
    return index >= 1 && index <= int32_t(errorCycles.size()) ? errorCycles[size_t(index - 1)] : 0;
  }
};

// Counter text after a comparison: "00/07", "00/42", "000/123", "00/4567".
std::string comparisonCounterText(int32_t errorCount);
// Counter text while stepping: "3/17".
std::string navigationCounterText(const ErrorList& list);

// Compares every cycle and fills the list; reports to the progress window and the counter.
void compareResults(const TestDescription& test, ErrorList& list, Operator& op);

enum class Step { First, Previous, Next, Last };
// Moves through the list; the cycle to put the cursor on, or nothing when the list is empty.
std::optional<int32_t> navigate(ErrorList& list, Step step);

}  // namespace qel::views
