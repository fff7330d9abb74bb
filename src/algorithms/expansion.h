#pragma once
// Expansion of a memory-chip template into the full test, by the loaded algorithm number.

#include <string>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::algorithms {

struct ExpansionOptions {
  bool compressedRamTest = true;
  // The path the open dialog last held; the default ROM data file name derives from it.
  std::string openDialogFileName;
};

// Runs the expansion of algorithm 1, 2 or 3 after a load; does nothing for any other number.
// The caller empties the error list and marks the tester for re-initialisation first.
void expandLoaded(TestDescription& test, Operator& op, const ExpansionOptions& options);

}  // namespace qel::algorithms
