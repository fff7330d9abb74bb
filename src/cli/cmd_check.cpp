// qel check: load each test as the program does and report what it said.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "app/test_loader.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "coverage/test_lint.h"

namespace qel::cli {

namespace {

int check(const std::vector<std::string>& files, bool lint) {
  int faulty = 0;
  int findings = 0;
  for (const auto& path : files) {
    std::printf("%s\n", path.c_str());
    ConsoleOperator op(stdout);
    op.printLog = false;
    engine::Bench bench;
    const auto result = app::loadTest(bench, path, op);
    const auto& t = bench.test;
    if (result.shown || (t.loaded && !op.messages().empty())) {
      std::printf("  %s%d, %d pins, %d cycles, %d signals, algorithm %d, %d data words\n",
                  t.isSoic ? "SOIC" : "DIP", t.pinCount, t.pinCount, t.cycleCount,
                  t.pinCount - t.passivePinCount, t.algorithmNumber, t.dataWordCount);
    } else {
      std::printf("  not loaded%s%s\n", result.unreadable.empty() ? "" : ": ", result.unreadable.c_str());
    }
    if (!op.messages().empty() || !result.shown) ++faulty;
    if (lint && result.shown)
      for (const auto& f : coverage::lintTest(t)) {
        std::printf("%s: %s\n", path.c_str(), f.text.c_str());
        ++findings;
      }
  }
  if (files.size() > 1) std::printf("%zu files, %d with messages\n", files.size(), faulty);
  if (lint) std::printf("%d findings of the lint\n", findings);
  return faulty == 0 && findings == 0 ? 0 : 1;
}

const bool registered = registerCommand(
    {"check", kFileCommands, "load each test as the program does; print its messages and a summary",
     [](CLI::App& command) -> Runner {
       auto files = std::make_shared<std::vector<std::string>>();
       auto lint = std::make_shared<bool>(false);
       command.add_option("FILE", *files, "test files (.qel, .vtd)")->required()->type_name("");
       command.add_flag(
           "--lint", *lint,
           "also what each test cannot find, proved from its vectors without a chip model: one line "
           "per finding");
       command.footer(
           "Messages of the load go to standard error, the summary to standard output.\n"
           "Exit status: 0 every file loaded without a message (and, with --lint, no finding), 1 otherwise, "
           "2\n"
           "usage error.");
       return [files, lint] { return check(*files, *lint); };
     }});

}  // namespace

}  // namespace qel::cli
