// qel dump: the loaded test as JSON.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/output.h"
#include "cli/test_json.h"

namespace qel::cli {

namespace {

struct DumpOptions {
  std::string path;
  CycleRange range;
};

int dump(const DumpOptions& o) {
  // The messages are part of the JSON; nothing else is printed.
  ConsoleOperator op(nullptr, nullptr);
  engine::Bench bench;
  const auto result = app::loadTest(bench, o.path, op);
  const auto [from, to] = clampRange(o.range, bench.test.cycleCount, 0);
  if (!writeTestJson(stdout, bench.test, op.messages(), from, to)) {
    std::fprintf(stderr, "qel: the JSON could not be written\n");
    return 2;
  }
  return result.shown && op.messages().empty() ? 0 : 1;
}

const bool registered =
    registerCommand({"dump", kFileCommands, "the loaded test as JSON", [](CLI::App& command) -> Runner {
                       auto o = std::make_shared<DumpOptions>();
                       command.add_option("FILE", o->path, "the test file")->required()->type_name("");
                       addCycleRangeOption(command, o->range);
                       command.footer("Exit status: 0 loaded without a message, 1 otherwise, 2 usage error.");
                       return [o] { return dump(*o); };
                     }});

}  // namespace

}  // namespace qel::cli
