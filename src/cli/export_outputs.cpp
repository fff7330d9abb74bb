#include "cli/export_outputs.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/output.h"
#include "exports/vcd_export.h"

namespace qel::cli {

void addExportOutputOptions(CLI::App& command, ExportOutputs& o) {
  command.add_option("--vcd", o.vcd, "the reference, the result and the mismatches as a value change dump")
      ->type_name("FILE");
}

bool writeExports(const TestDescription& test, const ExportSource& source, const ExportOutputs& o) {
  bool ok = true;
  auto report = [&](const std::string& path, const std::string& error) {
    if (error.empty()) return;
    std::fprintf(stderr, "qel: %s was not written: %s\n", path.c_str(), error.c_str());
    ok = false;
  };
  if (!o.vcd.empty()) {
    const exports::ExportHeader header{utcNow(), toolName(), source.test, source.result};
    report(o.vcd, writeOutputStreamed(
                      o.vcd, [&](const auto& write) { return exports::writeVcd(test, header, write); }));
  }
  return ok;
}

}  // namespace qel::cli
