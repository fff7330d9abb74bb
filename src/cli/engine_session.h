#pragma once
// What qel run, contact, diag and analyse share: the bench, the tester, the engine, the
// terminal, Ctrl+C, and the JSON report.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/console_operator.h"
#include "cli/tester_options.h"
#include "engine/test_engine.h"

namespace qel::cli {

// Prints through the console operator; a line that goes to both logs is printed once. Keeps
// how the last run ended.
class RunOperator : public Operator {
 public:
  explicit RunOperator(ConsoleOperator& console) : console_(console) {}
  void message(std::string_view text, Icon icon) override { console_.message(text, icon); }
  bool ask(std::string_view text) override { return console_.ask(text); }
  void log(std::string_view line) override;
  std::optional<std::string> chooseFile(const FileChoice& choice) override {
    return console_.chooseFile(choice);
  }
  void waitShow(std::string_view caption, std::string_view label) override {
    console_.waitShow(caption, label);
  }
  void progressLog(std::string_view line) override;
  void progressProcess(std::string_view label) override { console_.progressProcess(label); }
  void progressCounters(int errors, int mismatches) override {
    console_.progressCounters(errors, mismatches);
  }
  void runStarted(RunKind kind) override;
  void runFinished(const RunEnd& end) override;

  // Waits up to the given time for the run to end; its end once it has.
  std::optional<RunEnd> waitForEnd(std::chrono::milliseconds limit);

 private:
  // True when the line was just printed by the other log.
  bool echoed(std::string_view line, bool progress);
  ConsoleOperator& console_;
  std::mutex mutex_;
  std::string last_;
  bool lastProgress_ = false;
  std::condition_variable ended_;
  std::optional<RunEnd> end_;  // under mutex_
};

struct SessionOptions {
  TesterOptions tester;
  std::string test;                   // the test file, empty for diagnostics
  std::string report;                 // --report
  std::string saveResult;             // --save-result
  bool yes = false;                   // --yes
  std::optional<std::string> cycles;  // --cycles
  std::string romData;                // --data: the ROM data file of a Rom template
  bool fullRam = false;               // --full-ram: the full RAM test instead of the compressed one
};

class EngineSession {
 public:
  explicit EngineSession(const SessionOptions& options);
  ~EngineSession();

  // Loads the test (when one is named) and connects the tester. False when either failed; the
  // operator has said why.
  bool open();
  // Waits for the run, cancelling it on Ctrl+C as "Отмена" does; how it ended.
  RunEnd waitForRun();
  // The tester confirmed the supply off; otherwise no command may report success.
  bool supplyOff() const { return engine->supplyState() == tester::SupplyState::Off; }
  // "supply": "off", "on" or "unknown", as the tester last confirmed it.
  void reportSupply(nlohmann::ordered_json& report) const {
    report["supply"] = tester::supplyStateName(engine->supplyState());
  }

  engine::Bench bench;
  ConsoleOperator console;
  RunOperator op{console};
  std::unique_ptr<TesterConnection> connection;
  std::unique_ptr<engine::TestEngine> engine;
  const SessionOptions& options;
  bool interrupted = false;
};

// The contacts per pin, and the result per pin as one code digit per cycle.
nlohmann::ordered_json contactsJson(const engine::Bench& bench);
nlohmann::ordered_json resultJson(const TestDescription& test);

}  // namespace qel::cli
