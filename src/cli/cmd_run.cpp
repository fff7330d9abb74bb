// qel run: the contact test, the full test and the comparison, as "Полный тест" runs them.

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "cli/cli_util.h"
#include "cli/engine_session.h"
#include "diagnosis/memory_diagnosis.h"
#include "testfile/writer.h"

namespace qel::cli {

namespace {

// Enough to find the first errors on the terminal; the report keeps every cycle.
constexpr size_t kPrintedErrorCycles = 20;

void printErrors(const views::ErrorList& errors) {
  std::printf("Ошибок: %d\nНесовпадений: %d\n", errors.errorCount, errors.mismatchCount);
  std::printf("Такты с ошибками:");
  const size_t shown = std::min(errors.errorCycles.size(), kPrintedErrorCycles);
  for (size_t i = 0; i < shown; ++i) std::printf(" %d", errors.errorCycles[i]);
  if (shown < errors.errorCycles.size())
    std::printf(" ... (всего %zu; все такты - в отчете --report)", errors.errorCycles.size());
  std::printf("\n");
}

}  // namespace

int runRun(Args args) {
  SessionOptions options;
  if (auto e = parseSessionOptions(args, true, true, false, options)) return usageError("qel run: " + *e);
  EngineSession s(options);
  if (!s.open()) return 2;
  if (!s.engine->startFullTest()) {
    std::fprintf(stderr, "qel: the run did not start\n");
    return 2;
  }
  s.waitForRun();

  const engine::Outcome outcome = s.interrupted ? engine::Outcome::Cancelled : s.engine->lastOutcome();
  const bool finished = outcome == engine::Outcome::Finished;
  // The comparison ran, even where the supply-off at the end was not confirmed.
  const bool compared = finished || outcome == engine::Outcome::SupplyNotOff;
  views::ErrorList errors;
  {
    std::lock_guard lock(s.ws.dataMutex);
    errors = s.ws.errors;
  }
  std::vector<std::string> diagnosis;
  if (compared) {
    printErrors(errors);
    std::lock_guard lock(s.ws.dataMutex);
    diagnosis = diagnosis::memoryDiagnosis(s.ws.test, errors.errorCount);
  }
  if (!finished) std::printf("Тест не завершён: %s\n", engine::outcomeName(outcome));

  int status = finished ? (errors.errorCount == 0 ? 0 : 1) : 2;
  if (!s.supplyOff()) status = 2;
  if (compared && !options.saveResult.empty()) {
    const std::string error =
        testfile::writeTestFile(s.ws.test, options.saveResult, testfile::WriteSource::Result);
    if (!error.empty()) {
      std::fprintf(stderr, "qel: the result was not saved to '%s': %s\n", options.saveResult.c_str(),
                   error.c_str());
      status = 2;
    }
  }
  if (!options.report.empty()) {
    nlohmann::ordered_json report;
    report["test"] = options.test;
    report["outcome"] = engine::outcomeName(outcome);
    report["finished"] = finished;
    s.reportSupply(report);
    report["errorCount"] = errors.errorCount;
    report["mismatchCount"] = errors.mismatchCount;
    report["errorCycles"] = errors.errorCycles;
    report["diagnosis"] = diagnosis;
    report["contacts"] = contactsJson(s.ws);
    {
      std::lock_guard lock(s.ws.dataMutex);
      report["result"] = resultJson(s.ws.test);
    }
    if (!writeReport(options.report, report)) status = 2;
  }
  return status;
}

}  // namespace qel::cli
