#include "cli/export_outputs.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/cli_util.h"
#include "cli/diagram_png.h"
#include "cli/output.h"
#include "exports/csv_export.h"
#include "exports/vcd_export.h"

namespace qel::cli {

void addExportOutputOptions(CLI::App& command, ExportOutputs& o) {
  command.add_option("--vcd", o.vcd, "the reference, the result and the mismatches as a value change dump")
      ->type_name("FILE");
  command.add_option("--csv", o.csv, "the table's rows: cycle, word, reference and result value, mismatch")
      ->type_name("FILE");
  command.add_option("--csv-levels", o.csvLevels, "each cycle's expected and measured level of every pin")
      ->type_name("FILE");
  command.add_option("--png", o.png, "a picture of the diagram, drawn as the desktop program draws it")
      ->type_name("FILE");
  command.add_option("--png-cycles", o.pngCycles, "the cycles of the picture (the first 200 by default)")
      ->type_name("FROM:TO");
}

namespace {
constexpr int kDefaultPictureCycles = 200;
}

std::string checkExportOutputs(const ExportOutputs& o) {
  if (!o.png.empty() && !diagramPicturesAvailable())
    return "--png is not available: this qel was built without the desktop program's painter";
  if (!o.pngCycles.empty() && !parseCycleRange(o.pngCycles)) return "--png-cycles takes FROM:TO";
  return {};
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
  if (!o.csv.empty())
    report(o.csv, writeOutputStreamed(
                      o.csv, [&](const auto& write) { return exports::writeTableCsv(test, write); }));
  if (!o.csvLevels.empty())
    report(o.csvLevels, writeOutputStreamed(o.csvLevels, [&](const auto& write) {
             return exports::writeLevelsCsv(test, write);
           }));
  if (!o.png.empty()) {
    const CycleRange range = o.pngCycles.empty() ? CycleRange{} : *parseCycleRange(o.pngCycles);
    const auto [from, to] = clampRange(range, test.cycleCount, kDefaultPictureCycles);
    report(o.png, writeOutput(o.png, diagramPng(test, from, to, source.measured)));
  }
  return ok;
}

}  // namespace qel::cli
