// qel analyse: the tester as a logic analyser, nothing driven, no comparison.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/engine_session.h"
#include "cli/output.h"
#include "cli/session_options.h"

namespace qel::cli {

namespace {

constexpr int kShownCycles = 64;

int analyse(const SessionOptions& options) {
  const std::string& n = *options.cycles;
  if (n.empty() || n.size() > 4 ||
      !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }) || std::stoi(n) > 8190)
    return usageError("qel analyse: --cycles takes 0..8190, not '" + n + "'");
  if (auto e = routeStandardOutput({&options.report})) return usageError("qel analyse: " + *e);
  EngineSession s(options);
  if (!s.open()) return 2;
  if (!s.engine->startAnalyser(n)) {
    std::fprintf(stderr, "qel: the capture did not start\n");
    return 2;
  }
  const engine::Outcome outcome = s.waitForRun().outcome;
  if (outcome != engine::Outcome::Finished) {
    std::printf("Захват не завершён: %s\n", engine::outcomeName(outcome));
    if (!options.report.empty()) {
      nlohmann::ordered_json report;
      report["test"] = options.test;
      report["outcome"] = engine::outcomeName(outcome);
      s.reportSupply(report);
      writeReport(options.report, report);
    }
    return 2;
  }
  std::lock_guard lock(s.bench.dataMutex);
  const auto capture = resultJson(s.bench.test);
  std::printf("Захвачено тактов: %d (первые %d: 1 низкий, 2 высокий, 4 неопределённый)\n",
              s.bench.test.cycleCount, std::min(kShownCycles, s.bench.test.cycleCount));
  for (const auto& pin : capture) {
    const int p = pin["pin"];
    std::printf("%3d %-8.8s %s\n", p, s.bench.test.pins[size_t(p)].name.c_str(),
                std::string(pin["codes"]).substr(0, kShownCycles).c_str());
  }
  if (!options.report.empty()) {
    nlohmann::ordered_json report;
    report["test"] = options.test;
    report["outcome"] = engine::outcomeName(outcome);
    s.reportSupply(report);
    report["cycles"] = s.bench.test.cycleCount;
    report["capture"] = capture;
    if (!writeReport(options.report, report)) return 2;
  }
  return 0;
}

const bool registered = registerCommand(
    {"analyse", kTesterCommands, "analyser mode: capture N cycles (0..8190) with nothing driven",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<SessionOptions>();
       addSessionOptions(command, *o, {.test = true, .report = true, .cycles = true});
       command.footer("Exit status: 0 captured, 2 not finished or usage error.");
       return [o] { return analyse(*o); };
     }});

}  // namespace

}  // namespace qel::cli
