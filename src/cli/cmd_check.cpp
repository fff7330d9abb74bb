// qel check: load each test as the program does and report what it said.

#include <cstdio>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "cli/console_operator.h"

namespace qel::cli {

int runCheck(Args args) {
  if (args.empty()) return usageError("check needs at least one file");
  int faulty = 0;
  for (const auto& path : args) {
    std::printf("%s\n", path.c_str());
    ConsoleOperator op(stdout);
    op.printLog = false;
    app::Workspace ws;
    const auto result = app::loadTest(ws, path, op);
    const auto& t = ws.test;
    if (result.shown || (t.loaded && !op.messages().empty())) {
      std::printf("  %s%d, %d pins, %d cycles, %d signals, algorithm %d, %d data words\n",
                  t.isSoic ? "SOIC" : "DIP", t.pinCount, t.pinCount, t.cycleCount,
                  t.pinCount - t.passivePinCount, t.algorithmNumber, t.dataWordCount);
    } else {
      std::printf("  not loaded%s%s\n", result.unreadable.empty() ? "" : ": ", result.unreadable.c_str());
    }
    if (!op.messages().empty() || !result.shown) ++faulty;
  }
  if (args.size() > 1) std::printf("%zu files, %d with messages\n", args.size(), faulty);
  return faulty == 0 ? 0 : 1;
}

}  // namespace qel::cli
