#include "engine/test_engine.h"

namespace qel::engine {

namespace {
// A reset tester needs a second before it takes the next command.
constexpr int kResetSettleMs = 1000;
}  // namespace

const char* outcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::None:
      return "none";
    case Outcome::Finished:
      return "finished";
    case Outcome::NotStarted:
      return "not started";
    case Outcome::InitFailed:
      return "tester not initialised";
    case Outcome::ContactFault:
      return "contact or supply fault";
    case Outcome::ErrorRaised:
      return "error reported";
    case Outcome::DataError:
      return "data not obtained";
    case Outcome::Cancelled:
      return "cancelled";
    case Outcome::ChannelFault:
      return "faulty channels";
    case Outcome::SupplyNotOff:
      return "supply may be on";
  }
  return "?";
}

TestEngine::TestEngine(Bench& bench, tester::TesterLink& link, tester::Clock& clock, Operator& op,
                       Settings settings)
    : bench_(bench), link_(link), clock_(clock), op_(op), settings_(settings), run_(settings) {
  link_.setStopFlag(&stopRequested);
  link_.onPowerChanged = [this](bool on) {
    powerOn = on;
    op_.redraw();
  };
}

TestEngine::~TestEngine() {
  if (worker_.joinable()) {
    requestStop();
    worker_.join();
  }
  link_.onPowerChanged = nullptr;
  link_.setStopFlag(nullptr);
}

void TestEngine::settle(Outcome outcome, int error) {
  Outcome expected = Outcome::None;
  if (outcome_.compare_exchange_strong(expected, outcome)) lastError_ = error;
}

bool TestEngine::stopped() {
  if (!stopRequested) return false;
  settle(Outcome::Cancelled);
  return true;
}

void TestEngine::requestStop() {
  stopRequested = true;
  stopRequested.notify_all();
}

void TestEngine::gauge(int percent) {
  gauge_ = percent;
  op_.progressGauge(percent);
}

void TestEngine::step(const std::string& line) {
  op_.log(line);
  op_.progressLog(line);
  const size_t paren = line.find('(');
  op_.progressProcess(paren == std::string::npos ? line : line.substr(0, paren));
}

void TestEngine::logText(const std::string& text) {
  op_.log(text);
  op_.progressLog(text);
  op_.progressProcess(text);
}

void TestEngine::prepareProgress() {
  const TestDescription& t = bench_.test;
  op_.progressCountersVisible(false);
  gauge(0);
  const std::string name = !t.testNames[1].empty() ? t.testNames[1] : t.fileName;
  op_.progressTestInfo(name, std::string(t.isSoic ? "SOIC" : "DIP") + std::to_string(t.pinCount),
                       t.cycleCount, t.cycleCount / kBlockCycles + 1);
}

void TestEngine::updateContacts(const std::function<void(ContactRecords&)>& update) {
  {
    std::lock_guard lock(bench_.dataMutex);
    update(bench_.contacts);
  }
  op_.contactsUpdated();
}

bool TestEngine::initialiseTester() {
  const auto outcome = tester::initialiseTester(link_, op_, bench_.test, current().levels,
                                                [this](int code) { raiseError(code); });
  lastInit_ = outcome;
  if (outcome != tester::InitOutcome::Ok) {
    settle(Outcome::InitFailed);
    return false;
  }
  bench_.testerNotInitialised_ = false;
  return true;
}

bool TestEngine::runRefused() const {
  return bench_.channelFault() || realtime_ || !bench_.testReady() || bench_.busy();
}

bool TestEngine::launch(RunKind kind) {
  if (bench_.busy_.exchange(true)) return false;
  // The previous worker has released the bench and is on its way out, or gone.
  if (worker_.joinable()) worker_.join();
  stopRequested = false;
  realtime_ = false;
  run_ = settings_;
  outcome_ = Outcome::None;
  lastError_ = 0;
  const bool fresh = kind != RunKind::Continue;
  const bool comparing = kind == RunKind::Full || kind == RunKind::Analyser;
  if (comparing) {
    bench_.analyserMode_ = kind == RunKind::Analyser;
    bench_.analyserView_ = kind == RunKind::Analyser;
  }
  op_.runStarted(kind);
  if (fresh)
    updateContacts([&](ContactRecords& contacts) {
      if (comparing) {
        bench_.errors.errorCount = 0;
        bench_.errors.currentError = 0;
      }
      resetContactRecords(contacts, bench_.test);
    });
  if (comparing) {
    op_.errorCounter("0/0");
    op_.log("Запуск тестера...");
  }
  if (fresh) op_.progressShow();
  // The worker's first tester command opens the port afresh.
  if (kind == RunKind::Full || kind == RunKind::Contact) link_.closeConnection();
  contactFirst = kind == RunKind::Full;
  powerOffAfterContact = kind == RunKind::Contact;
  try {
    worker_ = std::thread([this, kind] { workerMain(kind); });
  } catch (const std::system_error&) {
    bench_.busy_ = false;
    return false;
  }
  op_.redraw();
  return true;
}

bool TestEngine::checkSupplyOff() {
  if (!link_.powerIsOn()) return true;
  op_.log(kSupplyMayBeOnText);
  op_.progressLog(kSupplyMayBeOnText);
  op_.message(kSupplyMayBeOnText, Icon::Warning);
  return false;
}

void TestEngine::workerMain(RunKind kind) {
  workerId_ = std::this_thread::get_id();
  try {
    if (kind == RunKind::Contact) {
      if (runContactTest()) settle(Outcome::Finished);
    } else {
      op_.progressShow();
      runFullTest();
      op_.redraw();
    }
  } catch (const std::exception& e) {
    // Out of memory or a fault of the program: the run ends, the program and its data stay.
    settle(Outcome::ErrorRaised);
    op_.message(std::string("Внутренняя ошибка: ") + e.what(), Icon::Error);
    link_.powerOff();
  }
  // A cancelled run is switched off by the cancel, which checks for itself.
  if (!stopRequested) checkSupplyOff();
  workerId_ = std::thread::id();
  const RunEnd end{kind, outcome_.load(), lastError_.load()};
  bench_.busy_ = false;
  op_.runFinished(end);
}

void TestEngine::wait() {
  if (worker_.joinable()) worker_.join();
}

void TestEngine::shutdown() {
  requestStop();
  wait();
  link_.setStopFlag(nullptr);
  if (link_.port().isOpen()) {
    link_.parkTester();
    link_.powerOff();
  }
  checkSupplyOff();
  link_.closeConnection();
  link_.setStopFlag(&stopRequested);
}

bool TestEngine::cancel() {
  requestStop();
  // The worker leaves its tester wait within one poll; only then does this thread use the port.
  wait();
  const bool done = cancelRun();
  checkSupplyOff();
  // The reset dropped the tester's parameters.
  if (done) bench_.testerNotInitialised_ = true;
  op_.progressClose();
  return done;
}

bool TestEngine::cancelRun() {
  // The stop request ended the worker; it must not cut short the commands that park the tester.
  link_.setStopFlag(nullptr);
  struct Restore {
    TestEngine& e;
    ~Restore() { e.link_.setStopFlag(&e.stopRequested); }
  } restore{*this};
  // Stopped before the worker reached the tester: the port it was to open is still closed.
  if (!link_.port().isOpen() && link_.checkPresence()) {
    raiseError(2);
    return false;
  }
  // Answers of the interrupted block are still on their way; they are not acknowledgements.
  link_.port().purgePort();
  link_.drainInput();
  link_.powerOff();
  if (link_.resetTester()) {
    raiseError(2);
    return false;
  }
  clock_.sleepMs(kResetSettleMs);
  return true;
}

}  // namespace qel::engine
