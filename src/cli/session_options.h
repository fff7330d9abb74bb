#pragma once
// The options of the commands that run the engine (run, contact, diag, analyse), declared on
// their CLI11 subcommands.

#include "cli/engine_session.h"

namespace CLI {
class App;
}

namespace qel::cli {

struct SessionTakes {
  bool test = false;    // TEST, with --data and --full-ram for its expansion
  bool report = false;  // --report FILE.json
  bool save = false;    // --save-result OUT.qel
  bool cycles = false;  // --cycles N
};

void addSessionOptions(CLI::App& command, SessionOptions& options, SessionTakes takes);

}  // namespace qel::cli
