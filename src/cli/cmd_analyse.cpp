// qel analyse: the tester as a logic analyser, nothing driven, no comparison.

#include <algorithm>
#include <cstdio>

#include "cli/cli_util.h"
#include "cli/engine_session.h"

namespace qel::cli {

namespace {
constexpr int kShownCycles = 64;
}

int runAnalyse(Args args) {
  SessionOptions options;
  if (auto e = parseSessionOptions(args, true, false, true, options)) return usageError("qel analyse: " + *e);
  if (!options.cycles) return usageError("qel analyse needs --cycles N (0..8190)");
  const std::string& n = *options.cycles;
  if (n.empty() || n.size() > 4 ||
      !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }) || std::stoi(n) > 8190)
    return usageError("qel analyse: --cycles takes 0..8190, not '" + n + "'");
  EngineSession s(options);
  if (!s.open()) return 2;
  if (!s.engine->startAnalyser(n)) {
    std::fprintf(stderr, "qel: the capture did not start\n");
    return 2;
  }
  s.waitForRun();
  const engine::Outcome outcome = s.interrupted ? engine::Outcome::Cancelled : s.engine->lastOutcome();
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
  std::lock_guard lock(s.ws.dataMutex);
  const auto capture = resultJson(s.ws.test);
  std::printf("Захвачено тактов: %d (первые %d: 1 низкий, 2 высокий, 4 неопределённый)\n",
              s.ws.test.cycleCount, std::min(kShownCycles, s.ws.test.cycleCount));
  for (const auto& pin : capture) {
    const int p = pin["pin"];
    std::printf("%3d %-8.8s %s\n", p, s.ws.test.pins[size_t(p)].name.c_str(),
                std::string(pin["codes"]).substr(0, kShownCycles).c_str());
  }
  if (!options.report.empty()) {
    nlohmann::ordered_json report;
    report["test"] = options.test;
    report["outcome"] = engine::outcomeName(outcome);
    s.reportSupply(report);
    report["cycles"] = s.ws.test.cycleCount;
    report["capture"] = capture;
    if (!writeReport(options.report, report)) return 2;
  }
  return 0;
}

}  // namespace qel::cli
