#pragma once
// What the failing reads of a memory test point to, in the words of the bench: a line that does not
// switch, two lines shorted, a cell that is stuck, slow to change or disturbed by another cell.

#include <string>
#include <vector>

#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::diagnosis {

// One line per finding, each beginning "Диагностика памяти: "; empty when the run found no errors or
// the test is no Rom, Ram or March test as its parameters expand it.
std::vector<std::string> memoryDiagnosis(const TestDescription& test, int errorCount);

// The same lines into the main log and the progress window's log.
void reportMemoryDiagnosis(const TestDescription& test, int errorCount, Operator& op);

}  // namespace qel::diagnosis
