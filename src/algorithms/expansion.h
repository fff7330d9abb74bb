#pragma once
// Expansion of a memory-chip template into the full test, by the loaded algorithm number.

#include <functional>
#include <string>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::algorithms {

struct ExpansionOptions {
  bool compressedRamTest = true;
  // The path the open dialog last held; the default ROM data file name derives from it.
  std::string openDialogFileName;
  // When set, the Rom expansion takes this data file instead of the one the test names.
  std::string romDataFile;
  // Called first by every expansion: the owner empties the error list of the comparison.
  std::function<void()> emptyErrorList;
  // Called by the Rom and Ram expansions after emptying the error list: the owner invalidates the
  // table cache and marks the tester for re-initialisation.
  std::function<void()> markStale;
};

// Runs the expansion of algorithm 1, 2, 3 or 4 after a load; does nothing for any other number.
// The caller empties the error list and marks the tester for re-initialisation first.
void expandLoaded(TestDescription& test, Operator& op, const ExpansionOptions& options);

// After the program setting "compressed RAM test" changed: a selected Ram block is expanded again.
void expandAfterCompressionChange(TestDescription& test, Operator& op, const ExpansionOptions& options,
                                  bool previousCompressed);

void expandCyclic(TestDescription& test, Operator& op, const ExpansionOptions& options);
void expandRom(TestDescription& test, Operator& op, const ExpansionOptions& options);
void expandRam(TestDescription& test, Operator& op, const ExpansionOptions& options);
// March C- over the address range of the March block, on the Ram block's kind of template.
void expandMarch(TestDescription& test, Operator& op, const ExpansionOptions& options);

}  // namespace qel::algorithms
