// qel run: the contact test, the full test and the comparison, as "Полный тест" runs them.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>

#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/engine_session.h"
#include "cli/export_outputs.h"
#include "cli/output.h"
#include "cli/session_options.h"
#include "diagnosis/memory_diagnosis.h"
#include "exports/html_report.h"
#include "tester/driver_choice.h"
#include "testfile/writer.h"

namespace qel::cli {

namespace {

// Enough to find the first errors on the terminal; the report keeps every cycle.
constexpr size_t kPrintedErrorCycles = 20;

void printErrors(const views::ErrorList& errors) {
  std::printf("Ошибок: %d\nНесовпадений: %d\n", errors.errorCount, errors.mismatchCount);
  if (errors.errorCycles.empty()) return;
  std::printf("Такты с ошибками:");
  const size_t shown = std::min(errors.errorCycles.size(), kPrintedErrorCycles);
  for (size_t i = 0; i < shown; ++i) std::printf(" %d", errors.errorCycles[i]);
  if (shown < errors.errorCycles.size())
    std::printf(" ... (всего %zu; все такты - в отчете --report)", errors.errorCycles.size());
  std::printf("\n");
}

struct RunOptions {
  SessionOptions session;
  ExportOutputs exports;
  std::string html;
};

// Which tester ran, and for the virtual one its board, as the report names it.
std::string testerText(const TesterOptions& o) {
  std::string error;
  const auto kind = chosenTester(o, error);
  std::string text = kind ? tester::testerKindName(*kind) : "?";
  if (!o.chip.empty()) text += ", chip " + o.chip;
  if (!o.board.empty()) text += ", board " + o.board;
  for (const auto& f : o.faults) text += ", fault " + f;
  return text;
}

// The report of the run as one HTML file.
bool writeHtml(const RunOptions& o, EngineSession& s, engine::Outcome outcome, bool compared,
               const views::ErrorList& errors) {
  exports::RunFacts facts;
  facts.header = {utcNow(), toolName(), o.session.test, {}};
  facts.tester = testerText(o.session.tester);
  facts.outcome = engine::outcomeName(outcome);
  facts.compared = compared;
  facts.errorCount = errors.errorCount;
  facts.mismatchCount = errors.mismatchCount;
  facts.errorCycles = errors.errorCycles;
  facts.thresholds = s.engine->settings().levels;
  std::lock_guard lock(s.bench.dataMutex);
  facts.contacts = &s.bench.contacts;
  const std::string error = writeOutputStreamed(
      o.html, [&](const auto& write) { return exports::writeHtmlReport(s.bench.test, facts, {}, write); });
  if (error.empty()) return true;
  std::fprintf(stderr, "qel: %s was not written: %s\n", o.html.c_str(), error.c_str());
  return false;
}

int run(const RunOptions& runOptions) {
  const SessionOptions& options = runOptions.session;
  const ExportOutputs& exports = runOptions.exports;
  if (const std::string e = checkExportOutputs(exports); !e.empty()) return usageError("qel run: " + e);
  if (auto e = routeStandardOutput({&options.report, &options.saveResult, &exports.vcd, &exports.csv,
                                    &exports.csvLevels, &exports.png, &runOptions.html}))
    return usageError("qel run: " + *e);
  EngineSession s(options);
  if (!s.open()) return 2;
  if (!s.engine->startFullTest()) {
    std::fprintf(stderr, "qel: the run did not start\n");
    return 2;
  }
  const engine::Outcome outcome = s.waitForRun().outcome;
  const bool finished = outcome == engine::Outcome::Finished;
  // The comparison ran, even where the supply-off at the end was not confirmed.
  const bool compared = finished || outcome == engine::Outcome::SupplyNotOff;
  views::ErrorList errors;
  {
    std::lock_guard lock(s.bench.dataMutex);
    errors = s.bench.errors;
  }
  std::vector<std::string> diagnosis;
  if (compared) {
    printErrors(errors);
    std::lock_guard lock(s.bench.dataMutex);
    diagnosis = diagnosis::memoryDiagnosis(s.bench.test, errors.errorCount);
  }
  if (!finished) std::printf("Тест не завершён: %s\n", engine::outcomeName(outcome));

  int status = finished ? (errors.errorCount == 0 ? 0 : 1) : 2;
  if (!s.supplyOff()) status = 2;
  if (compared && !options.saveResult.empty()) {
    const std::string error = writeOutput(
        options.saveResult, testfile::formatTestFile(s.bench.test, testfile::WriteSource::Result));
    if (!error.empty()) {
      std::fprintf(stderr, "qel: the result was not saved to '%s': %s\n", options.saveResult.c_str(),
                   error.c_str());
      status = 2;
    }
  }
  if (compared && !exports.empty()) {
    std::lock_guard lock(s.bench.dataMutex);
    if (!writeExports(s.bench.test, {options.test, {}, true}, exports)) status = 2;
  } else if (!exports.empty()) {
    // No result to show; any old files stay as they were.
    std::fprintf(stderr,
                 "qel: the run did not get as far as the comparison; no VCD, CSV or picture written\n");
  }
  if (!runOptions.html.empty() && !writeHtml(runOptions, s, outcome, compared, errors)) status = 2;
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
    report["contacts"] = contactsJson(s.bench);
    {
      std::lock_guard lock(s.bench.dataMutex);
      report["result"] = resultJson(s.bench.test);
    }
    if (!writeReport(options.report, report)) status = 2;
  }
  return status;
}

const bool registered = registerCommand(
    {"run", kTesterCommands, "contact test, full test and comparison", [](CLI::App& command) -> Runner {
       auto o = std::make_shared<RunOptions>();
       addSessionOptions(command, o->session, {.test = true, .report = true, .save = true});
       addExportOutputOptions(command, o->exports);
       command.add_option("--html", o->html, "the run as one HTML report: contacts, counts, error cycles")
           ->type_name("FILE");
       command.footer(
           "Ctrl+C cancels the run as \"Отмена\" does.\n"
           "Exit status: 0 no errors, 1 errors found, 2 not finished, the supply may still be on (the\n"
           "report's \"supply\") or a usage error.");
       return [o] { return run(*o); };
     }});

}  // namespace

}  // namespace qel::cli
