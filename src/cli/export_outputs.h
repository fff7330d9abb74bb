#pragma once
// The export files qel export and qel run write: their options and the writing.

#include <string>

#include "model/test_description.h"

namespace CLI {
class App;
}

namespace qel::cli {

struct ExportOutputs {
  std::string vcd, csv, csvLevels, png;
  std::string pngCycles;  // FROM:TO of the picture
  bool empty() const { return vcd.empty() && csv.empty() && csvLevels.empty() && png.empty(); }
};

struct ExportSource {
  std::string test;       // the test file
  std::string result;     // where the result came from; empty when none or the run itself
  bool measured = false;  // a result is there to draw over the reference
};

void addExportOutputOptions(CLI::App& command, ExportOutputs& outputs);

// A usage error text when an output cannot be had in this build or its options are wrong.
std::string checkExportOutputs(const ExportOutputs& outputs);

// Writes every named output; false when one failed (said on standard error).
bool writeExports(const TestDescription& test, const ExportSource& source, const ExportOutputs& outputs);

}  // namespace qel::cli
