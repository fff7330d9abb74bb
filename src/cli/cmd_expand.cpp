// qel expand: a memory template as the plain vector test it expands to.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/output.h"
#include "testfile/writer.h"

namespace qel::cli {

namespace {

struct ExpandOptions {
  std::string path, out, data;
  bool fullRam = false;
};

int expand(const ExpandOptions& o) {
  if (auto e = routeStandardOutput({&o.out})) return usageError("qel expand: " + *e);
  // Messages go to stderr so that a pipeline sees only the summary.
  ConsoleOperator op(stderr);
  engine::Bench bench;
  app::LoadOptions load;
  load.expansion.compressedRamTest = !o.fullRam;
  load.expansion.openDialogFileName = o.path;
  // Named on the command line, so relative to where the command runs, not to the test.
  if (!o.data.empty()) load.expansion.romDataFile = std::filesystem::absolute(o.data).string();
  const int algorithm = [&] {
    const auto result = app::loadTest(bench, o.path, op, load);
    return result.shown ? bench.test.algorithmNumber : -1;
  }();
  if (algorithm < 0) {
    std::fprintf(stderr, "qel expand: %s did not load\n", o.path.c_str());
    return 1;
  }
  for (const auto& m : op.messages())
    if (m.icon == Icon::Error) {
      std::fprintf(stderr, "qel expand: %s was not expanded; nothing written\n", o.path.c_str());
      return 1;
    }
  const std::string failure =
      writeOutput(o.out, testfile::formatTestFile(bench.test, testfile::WriteSource::Reference));
  if (!failure.empty()) {
    std::fprintf(stderr, "qel expand: cannot write %s: %s\n", o.out.c_str(), failure.c_str());
    return 2;
  }
  std::printf("%s: %d cycles from %d template cycles (algorithm %d%s)\n", o.out.c_str(),
              bench.test.cycleCount, bench.test.templateCycles, algorithm,
              algorithm == 3 ? (o.fullRam ? ", full" : ", compressed") : "");
  return 0;
}

const bool registered = registerCommand(
    {"expand", kFileCommands,
     "a memory template expanded as the plain vector test it becomes (reference levels)",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<ExpandOptions>();
       command.add_option("TEST", o->path, "the template test")->required()->type_name("");
       command.add_option("-o,--output", o->out, "the test file to write ('-': standard output)")
           ->required()
           ->type_name("FILE");
       command.add_option("--data", o->data, "the ROM data file to use instead of the test's own")
           ->type_name("FILE");
       command.add_flag("--full-ram", o->fullRam, "the full RAM test instead of the compressed one");
       command.footer(
           "Exit status: 0 written, 1 the template did not load or expand, 2 usage or write error.");
       return [o] { return expand(*o); };
     }});

}  // namespace

}  // namespace qel::cli
