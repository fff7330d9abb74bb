#include "cli/session_options.h"

#include <CLI/CLI.hpp>

namespace qel::cli {

void addSessionOptions(CLI::App& command, SessionOptions& o, SessionTakes takes) {
  if (takes.test) {
    command.add_option("TEST", o.test, "the test file")->required()->type_name("");
    command.add_option("--data", o.romData, "the ROM data file of a ROM template, instead of the test's own")
        ->type_name("FILE");
    command.add_flag("--full-ram", o.fullRam, "the full RAM test instead of the compressed one");
  }
  if (takes.report)
    command.add_option("--report", o.report, "write a JSON report there ('-': standard output)")
        ->type_name("FILE");
  if (takes.save)
    command
        .add_option("--save-result", o.saveResult,
                    "save the measured result as a new test ('-': standard output)")
        ->type_name("FILE");
  if (takes.cycles) {
    command.add_option("--cycles", o.cycles, "cycles to capture, 0..8190")->required()->type_name("N");
  }
  command.add_flag("--yes", o.yes, "answer Yes to the program's questions (No by default)");
  addTesterOptions(command, o.tester);
}

}  // namespace qel::cli
