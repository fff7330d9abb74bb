#pragma once
// The TestEngine: runs the contact test, the full test, analyser captures, diagnostics and the
// supply commands on the tester, on the test of the bench, and reports through the operator.
//
// Threads: the commands (start..., cancel, diagnostics, supply, real-time checking) are called on
// one controlling thread (the GUI's or the command line's), which is also the only one that edits
// settings(). Runs go to a worker of the engine's own, which works on the copy of the settings
// taken when the run was launched; while the bench is busy the worker owns the tester link.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/bench.h"
#include "engine/settings.h"
#include "operator/operator.h"
#include "tester/clock.h"
#include "tester/initialise.h"
#include "tester/tester_link.h"

namespace qel::engine {

using Outcome = RunOutcome;
const char* outcomeName(Outcome outcome);

// Text of a numbered error.
std::string errorText(int code);

// Logged and shown when the tester did not confirm the supply off where the program switched it off.
inline constexpr const char* kSupplyMayBeOnText = "Питание может быть не выключено: тестер не ответил";

inline constexpr int kBlockCycles = tester::kMaxBlockCycles;

class TestEngine {
 public:
  TestEngine(Bench& bench, tester::TesterLink& link, tester::Clock& clock, Operator& op,
             Settings settings = {});
  ~TestEngine();
  TestEngine(const TestEngine&) = delete;
  TestEngine& operator=(const TestEngine&) = delete;

  // What the dialogs edit (controlling thread); a run launched afterwards works with it.
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }

  // Flags; all start false.
  std::atomic<int32_t> errorRaised{0};
  std::atomic<bool> contactFirst{false};
  std::atomic<bool> powerOn{false};
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> powerOffAfterContact{false};
  // The button "Продолжить" is enabled.
  std::atomic<bool> continueEnabled{false};

  // --- Runs (controlling thread) ---
  // "Тест Контактов". False when it did not start.
  bool startContactTest();
  // "Полный тест" (acStartExecute). False when it did not start.
  bool startFullTest();
  // "Продолжить": the full test without the contact stage. False when it did not start.
  bool continueRun();
  // Analyser mode; spinText is the dialog's cycle count, nullopt when the dialog was not confirmed.
  bool startAnalyser(const std::optional<std::string>& spinText);
  // "Отмена": asks the worker to stop, lets it leave, then switches the supply off and resets the
  // tester. Returns what cancelRun returned.
  bool cancel();
  // Sets stopRequested and wakes whoever waits on it.
  void requestStop();
  // Waits for the worker to end.
  void wait();
  // Closing the program: stops a run and lets its worker leave, then parks the tester, switches
  // the supply off and closes the port, none of it cut short by the stop request.
  void shutdown();
  bool running() const { return bench_.busy(); }
  Outcome lastOutcome() const { return outcome_.load(); }
  // The supply as the tester last confirmed it; anything but Off after a run means it may be on.
  tester::SupplyState supplyState() const { return link_.supplyState(); }

  // --- On the worker, or directly ---
  bool runContactTest();
  void runFullTest();
  // Drive levels of block n: pinCount bytes per cycle, 8191 rows.
  void deriveStimulus(std::vector<uint8_t>& blockData, int block) const;
  // The numbered error report.
  void raiseError(int code);
  // The initialisation sequence; clears testerNotInitialised on success.
  bool initialiseTester();

  // --- Real-time contact checking (controlling thread; the timer calls realtimeTick each second) ---
  void startRealtimeCheck();
  void realtimeTick();
  void stopRealtimeCheck();
  bool realtimeOn() const { return realtime_.load(); }

  // --- Diagnostics (controlling thread) ---
  // Result of a self-check that ran: true when nothing was wrong. Nullopt when it did not run or
  // the tester could not be reached.
  std::optional<bool> testRam();
  std::optional<bool> testChannels();
  bool runChannelTest(bool interactive);
  // The raw words of the first block into grid; true when the run failed (the grid keeps what
  // arrived before).
  bool rawReadout(tester::RawGrid& grid);

  // --- Supply and parameters (controlling thread) ---
  void togglePower();      // tool button "Питание"
  void powerOnCommand();   // "Включить питание"
  void powerOffCommand();  // "Выключить питание"
  // Level of a pin (1-based) with the supply on; 0 when it could not be read.
  int readPinLevel(int pin);

  tester::TesterLink& link() { return link_; }
  Bench& bench() { return bench_; }

 private:
  // Runs refuse while the channels are faulty, real-time checking is on, no test is shown, or
  // another run holds the bench.
  bool runRefused() const;
  // The one launch of every worker run: claim the bench, take the settings, prepare, start.
  bool launch(RunKind kind);
  void workerMain(RunKind kind);
  bool cancelRun();
  bool stopped();
  void step(const std::string& line);     // both logs, short name to the process label
  void logText(const std::string& text);  // both logs and the process label
  void gauge(int percent);
  void prepareProgress();
  // The run ends with this outcome unless an earlier step already decided it.
  void settle(Outcome outcome, int error = 0);
  bool onWorker() const { return std::this_thread::get_id() == workerId_.load(); }
  // The settings of the run in progress on its worker, the live ones on the controlling thread.
  const Settings& current() const { return onWorker() ? run_ : settings_; }
  bool supplyCommandsRefused() const;
  // "VCCOff" between two blocks: the supply goes off only where the board fights the tester.
  void keepSupplyBetweenBlocks(const std::vector<uint8_t>& blockData, const std::vector<uint8_t>& blockResult,
                               int cycles, int block, bool& keptNoted);
  // Writes one of the run's findings per pin under the data lock and tells the operator.
  void updateContacts(const std::function<void(ContactRecords&)>& update);
  // Where the supply was to be switched off: says so when the tester did not confirm it. True
  // when the supply is off.
  bool checkSupplyOff();

  Bench& bench_;
  tester::TesterLink& link_;
  tester::Clock& clock_;
  Operator& op_;
  Settings settings_;
  Settings run_;  // written only while no worker runs

  std::thread worker_;
  std::atomic<std::thread::id> workerId_{};
  std::atomic<Outcome> outcome_{Outcome::None};
  std::atomic<int> lastError_{0};
  std::atomic<bool> realtime_{false};
  std::atomic<tester::InitOutcome> lastInit_{tester::InitOutcome::Ok};
  int gauge_ = 0;
};

}  // namespace qel::engine
