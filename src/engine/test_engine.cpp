#include "engine/test_engine.h"

namespace qel::engine {

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
    case Outcome::SupplyNotOff:
      return "supply may be on";
  }
  return "?";
}

TestEngine::TestEngine(app::Workspace& ws, tester::TesterLink& link, tester::Clock& clock, Operator& op,
                       Settings settings)
    : ws_(ws), link_(link), clock_(clock), op_(op), settings_(settings) {
  link_.setStopFlag(&stopRequested);
  link_.onPowerChanged = [this](bool on) {
    powerOn = on;
    op_.redraw();
  };
}

TestEngine::~TestEngine() {
  if (worker_.joinable()) {
    stopRequested = true;
    worker_.join();
  }
  link_.onPowerChanged = nullptr;
  link_.setStopFlag(nullptr);
}

void TestEngine::fail(Outcome outcome, int error) {
  Outcome expected = Outcome::None;
  if (outcome_.compare_exchange_strong(expected, outcome)) lastError_ = error;
}

bool TestEngine::stopped() {
  if (!stopRequested) return false;
  fail(Outcome::Cancelled);
  return true;
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
  const TestDescription& t = ws_.test;
  op_.progressCountersVisible(false);
  gauge(0);
  const std::string name = !t.testNames[1].empty() ? t.testNames[1] : t.fileName;
  op_.progressTestInfo(name, std::string(t.isSoic ? "SOIC" : "DIP") + std::to_string(t.pinCount),
                       t.cycleCount, t.cycleCount / kBlockCycles + 1);
}

bool TestEngine::initialiseTester() {
  const auto outcome = tester::initialiseTester(link_, op_, ws_.test, settings_.levels,
                                                [this](int code) { raiseError(code); });
  lastInit_ = outcome;
  if (outcome != tester::InitOutcome::Ok) {
    fail(Outcome::InitFailed);
    return false;
  }
  ws_.testerNotInitialised = false;
  return true;
}

bool TestEngine::startWorker(Worker kind) {
  // The previous worker has cleared busy and is on its way out, or gone.
  if (worker_.joinable()) worker_.join();
  outcome_ = Outcome::None;
  lastError_ = 0;
  running_ = true;
  try {
    worker_ = std::thread([this, kind] { workerMain(kind); });
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

bool TestEngine::checkSupplyOff() {
  if (!link_.powerIsOn()) return true;
  op_.log(kSupplyMayBeOnText);
  op_.progressLog(kSupplyMayBeOnText);
  op_.message(kSupplyMayBeOnText, Icon::Warning);
  return false;
}

void TestEngine::workerMain(Worker kind) {
  workerId_ = std::this_thread::get_id();
  try {
    if (kind == Worker::Contact) {
      if (runContactTest()) fail(Outcome::Finished);
    } else {
      op_.progressShow();
      runFullTest();
      op_.redraw();
    }
  } catch (const std::exception& e) {
    // Out of memory or a fault of the program: the run ends, the program and its data stay.
    fail(Outcome::ErrorRaised);
    op_.message(std::string("Внутренняя ошибка: ") + e.what(), Icon::Error);
    link_.powerOff();
  }
  // A cancelled run is switched off by the cancel, which checks for itself.
  if (!stopRequested) checkSupplyOff();
  workerId_ = std::thread::id();
  ws_.busy = false;
  running_ = false;
}

void TestEngine::wait() {
  if (worker_.joinable()) worker_.join();
}

void TestEngine::shutdown() {
  stopRequested = true;
  wait();
  link_.setStopFlag(nullptr);
  if (link_.port().isOpen()) {
    link_.parkTester();
    link_.powerOff();
  }
  checkSupplyOff();
  link_.closeConnection();
  link_.setStopFlag(&stopRequested);
  ws_.busy = false;
}

bool TestEngine::cancel() {
  stopRequested = true;
  // The worker leaves its tester wait within one poll; only then does this thread use the port.
  wait();
  const bool done = cancelRun();
  checkSupplyOff();
  if (done) {
    // The reset dropped the tester's parameters.
    ws_.testerNotInitialised = true;
    ws_.busy = false;
  }
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
  clock_.sleepMs(1000);
  ws_.busy = false;
  return true;
}

}  // namespace qel::engine
