// qel expand: a memory template as the plain vector test it expands to.

#include <cstdio>
#include <filesystem>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "cli/console_operator.h"
#include "testfile/writer.h"

namespace qel::cli {

int runExpand(Args args) {
  std::string path, out, data;
  bool fullRam = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
      out = args[++i];
    } else if (args[i] == "--data" && i + 1 < args.size()) {
      data = args[++i];
    } else if (args[i] == "--full-ram") {
      fullRam = true;
    } else if (path.empty() && args[i].rfind("-", 0) != 0) {
      path = args[i];
    } else {
      return usageError("unexpected argument '" + args[i] + "'");
    }
  }
  if (path.empty()) return usageError("expand needs a test file");
  if (out.empty()) return usageError("expand needs -o OUT");

  // Messages go to stderr so that a pipeline sees only the summary.
  ConsoleOperator op(stderr);
  engine::Bench bench;
  app::LoadOptions load;
  load.expansion.compressedRamTest = !fullRam;
  load.expansion.openDialogFileName = path;
  // Named on the command line, so relative to where the command runs, not to the test.
  if (!data.empty()) load.expansion.romDataFile = std::filesystem::absolute(data).string();
  const int algorithm = [&] {
    const auto result = app::loadTest(bench, path, op, load);
    return result.shown ? bench.test.algorithmNumber : -1;
  }();
  if (algorithm < 0) {
    std::fprintf(stderr, "qel expand: %s did not load\n", path.c_str());
    return 1;
  }
  for (const auto& m : op.messages())
    if (m.icon == Icon::Error) {
      std::fprintf(stderr, "qel expand: %s was not expanded; nothing written\n", path.c_str());
      return 1;
    }
  const std::string failure = testfile::writeTestFile(bench.test, out, testfile::WriteSource::Reference);
  if (!failure.empty()) {
    std::fprintf(stderr, "qel expand: cannot write %s: %s\n", out.c_str(), failure.c_str());
    return 2;
  }
  std::printf("%s: %d cycles from %d template cycles (algorithm %d%s)\n", out.c_str(), bench.test.cycleCount,
              bench.test.templateCycles, algorithm,
              algorithm == 3 ? (fullRam ? ", full" : ", compressed") : "");
  return 0;
}

}  // namespace qel::cli
