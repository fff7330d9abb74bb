#pragma once
// Opening a test file: read, expand a template, evaluate formula outputs, prepare the views.

#include <functional>
#include <string>

#include "app/workspace.h"
#include "operator/operator.h"
#include "testfile/file_lines.h"

namespace qel::app {

struct LoadResult {
  bool shown = false;      // the test is on screen (loaded, no read error)
  bool readError = false;  // a field did not parse; the model keeps what was read
};

LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op);
// The same with the file's lines from elsewhere (tests, fuzzing).
LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op,
                    const std::function<testfile::FileLines()>& read);
// The same reading from the stream that open gives.
LoadResult loadTest(Workspace& ws, const std::string& path, Operator& op,
                    const std::function<testfile::LineStream()>& open);

// Cycle width that fits the whole test into the ruler, 3..40 pixels.
int fitCellWidth(int rulerWidth, int cycleCount);

// Fills the reference of every formula output from its formula, cycle by cycle.
void evaluateFormulaOutputs(TestDescription& test);

}  // namespace qel::app
