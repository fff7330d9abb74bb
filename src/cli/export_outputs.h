#pragma once
// The export files qel export and qel run write: their options and the writing.

#include <string>

#include "model/test_description.h"

namespace CLI {
class App;
}

namespace qel::cli {

struct ExportOutputs {
  std::string vcd, csv, csvLevels;
  bool empty() const { return vcd.empty() && csv.empty() && csvLevels.empty(); }
};

struct ExportSource {
  std::string test;    // the test file
  std::string result;  // where the result came from; empty when none or the run itself
};

void addExportOutputOptions(CLI::App& command, ExportOutputs& outputs);

// Writes every named output; false when one failed (said on standard error).
bool writeExports(const TestDescription& test, const ExportSource& source, const ExportOutputs& outputs);

}  // namespace qel::cli
