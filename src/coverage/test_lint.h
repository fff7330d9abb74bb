#pragma once
// What a test cannot find, proved from its vectors alone, without a model of the chip: an output
// never expected at both levels, an input never toggled, an I/O pin never used both ways, and an
// input whose effect on the outputs no pair of its vectors shows.

#include <string>
#include <vector>

#include "model/test_description.h"

namespace qel::coverage {

struct LintFinding {
  int pin = 0;
  std::string text;  // "вход 3 (A) ни разу не переключается (всегда 0): ..."
};

std::vector<LintFinding> lintTest(const TestDescription& test);

}  // namespace qel::coverage
