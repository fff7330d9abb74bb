// qel diag ram|channels: the tester's self-checks.

#include <cstdio>

#include "cli/cli_util.h"
#include "cli/engine_session.h"

namespace qel::cli {

int runDiag(Args args) {
  if (args.empty() || (args[0] != "ram" && args[0] != "channels"))
    return usageError("qel diag needs 'ram' or 'channels'");
  const bool ram = args[0] == "ram";
  SessionOptions options;
  if (auto e = parseSessionOptions(args.subspan(1), false, false, false, options))
    return usageError("qel diag: " + *e);
  if (!options.report.empty()) return usageError("qel diag has no report");
  EngineSession s(options);
  if (!s.open()) return 2;
  const std::optional<bool> passed = ram ? s.engine->testRam() : s.engine->testChannels();
  if (!passed || !s.supplyOff()) return 2;
  return *passed ? 0 : 1;
}

}  // namespace qel::cli
