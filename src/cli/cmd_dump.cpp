// qel dump: the loaded test as JSON.

#include <cstdio>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "cli/console_operator.h"
#include "cli/test_json.h"

namespace qel::cli {

int runDump(Args args) {
  std::string path;
  CycleRange range;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cycles" && i + 1 < args.size()) {
      auto r = parseCycleRange(args[++i]);
      if (!r) return usageError("--cycles takes FROM:TO");
      range = *r;
    } else if (path.empty() && args[i].rfind("--", 0) != 0) {
      path = args[i];
    } else {
      return usageError("unexpected argument '" + args[i] + "'");
    }
  }
  if (path.empty()) return usageError("dump needs a file");
  std::FILE* sink = std::fopen("/dev/null", "w");
  ConsoleOperator op(sink ? sink : stderr);
  app::Workspace ws;
  const auto result = app::loadTest(ws, path, op);
  const auto [from, to] = clampRange(range, ws.test.cycleCount, 0);
  const bool written = writeTestJson(stdout, ws.test, op.messages(), from, to);
  if (sink) std::fclose(sink);
  if (!written) {
    std::fprintf(stderr, "qel: the JSON could not be written\n");
    return 2;
  }
  return result.shown && op.messages().empty() ? 0 : 1;
}

}  // namespace qel::cli
