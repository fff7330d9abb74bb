// qel export: a test, with a result saved from a run, as files other programs read.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/export_outputs.h"
#include "cli/output.h"
#include "exports/saved_result.h"

namespace qel::cli {

namespace {

struct ExportOptions {
  std::string path, result;
  ExportOutputs outputs;
};

// Loads a test as the program does; false (said on standard error) when it did not load.
bool load(engine::Bench& bench, const std::string& path, ConsoleOperator& op) {
  if (app::loadTest(bench, path, op).shown) return true;
  std::fprintf(stderr, "qel export: %s did not load\n", path.c_str());
  return false;
}

int exportTest(const ExportOptions& o) {
  if (o.outputs.empty())
    return usageError("qel export: name at least one output (--vcd, --csv, --csv-levels, --png)");
  if (const std::string e = checkExportOutputs(o.outputs); !e.empty()) return usageError("qel export: " + e);
  if (auto e = routeStandardOutput({&o.outputs.vcd, &o.outputs.csv, &o.outputs.csvLevels, &o.outputs.png}))
    return usageError("qel export: " + *e);
  ConsoleOperator op(stderr);
  engine::Bench bench;
  if (!load(bench, o.path, op)) return 1;
  ExportSource source{o.path, {}};
  if (!o.result.empty()) {
    // The saved result is a test of its own; it is dropped once its levels are taken.
    auto saved = std::make_unique<engine::Bench>();
    if (!load(*saved, o.result, op)) return 1;
    const exports::TakenResult taken = exports::takeSavedResult(bench.test, saved->test);
    if (!taken.error.empty()) {
      std::fprintf(stderr, "qel export: %s: %s\n", o.result.c_str(), taken.error.c_str());
      return 1;
    }
    if (!taken.note.empty())
      std::fprintf(stderr, "qel export: %s: %s\n", o.result.c_str(), taken.note.c_str());
    source.result = o.result;
    source.measured = true;
  }
  return writeExports(bench.test, source, o.outputs) ? 0 : 2;
}

const bool registered = registerCommand(
    {"export", kFileCommands, "a test and its saved result as VCD for waveform viewers, or CSV",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<ExportOptions>();
       command.add_option("TEST", o->path, "the test file")->required()->type_name("");
       command
           .add_option("--result", o->result,
                       "the result saved from a run (--save-result, \"Сохранить как...\")")
           ->type_name("FILE");
       addExportOutputOptions(command, o->outputs);
       command.footer(
           "'-' writes to standard output. Each file is replaced whole or, on a failure, left as it was.\n"
           "Exit status: 0 written, 1 a test did not load, 2 usage or write error.");
       return [o] { return exportTest(*o); };
     }});

}  // namespace

}  // namespace qel::cli
