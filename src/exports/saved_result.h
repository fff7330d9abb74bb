#pragma once
// A result saved as a test file ("Сохранить как...", qel run --save-result) taken back as the
// result diagram of the test it was measured on.

#include <string>

#include "model/test_description.h"

namespace qel::exports {

// Fills test's result from the levels of saved: "_" read low, "-" read high, "*" not measured
// (the writer puts it where nothing was asserted). An error text when the two tests are not of
// the same package; cycles the saved file lacks stay not measured, and a note says so.
struct TakenResult {
  std::string error;
  std::string note;
};
TakenResult takeSavedResult(TestDescription& test, const TestDescription& saved);

}  // namespace qel::exports
