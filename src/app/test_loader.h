#pragma once
// Putting a test file on the bench: read, expand a template, evaluate formula outputs, and leave
// the contact records and the error list fresh for it.

#include <functional>
#include <string>

#include "algorithms/expansion.h"
#include "engine/bench.h"
#include "operator/operator.h"
#include "testfile/file_lines.h"

namespace qel::app {

struct LoadOptions {
  algorithms::ExpansionOptions expansion;
  // Messages about data words with contacts of mixed kinds are shown.
  bool showMessages = true;
};

struct LoadResult {
  bool shown = false;      // the test is on screen (loaded, no read error)
  bool readError = false;  // a field did not parse; the model keeps what was read
  std::string unreadable;  // why the file could not be read at all (a folder, too large ...)
};

// Refused (nothing shown) while a run holds the bench.
LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op,
                    const LoadOptions& options = {});
// The same with the file's lines from elsewhere (tests, fuzzing).
LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::FileLines()>& read);
// The same reading from the stream that open gives.
LoadResult loadTest(engine::Bench& bench, const std::string& path, Operator& op, const LoadOptions& options,
                    const std::function<testfile::LineStream()>& open);

// Fills the reference of every formula output from its formula, cycle by cycle.
void evaluateFormulaOutputs(TestDescription& test);

}  // namespace qel::app
