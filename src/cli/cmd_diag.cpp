// qel diag ram|channels: the tester's self-checks.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "cli/engine_session.h"
#include "cli/session_options.h"

namespace qel::cli {

namespace {

struct DiagOptions {
  std::string what;
  SessionOptions session;
};

int diag(const DiagOptions& o) {
  EngineSession s(o.session);
  if (!s.open()) return 2;
  const std::optional<bool> passed = o.what == "ram" ? s.engine->testRam() : s.engine->testChannels();
  if (!passed || !s.supplyOff()) return 2;
  return *passed ? 0 : 1;
}

const bool registered = registerCommand(
    {"diag", kTesterCommands, "the tester's RAM test or channel self-test", [](CLI::App& command) -> Runner {
       auto o = std::make_shared<DiagOptions>();
       command.add_option("CHECK", o->what, "ram: the tester's RAM; channels: the channel self-test")
           ->required()
           ->type_name("")
           ->check(CLI::IsMember({"ram", "channels"}));
       addSessionOptions(command, o->session, {});
       command.footer("Exit status: 0 passed, 1 a fault found, 2 not carried out or usage error.");
       return [o] { return diag(*o); };
     }});

}  // namespace

}  // namespace qel::cli
