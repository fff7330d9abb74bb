#include "cli/engine_session.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include "app/test_loader.h"

namespace qel::cli {

namespace {

std::atomic<bool> gInterrupt{false};
extern "C" void onInterrupt(int) {
  gInterrupt = true;
}

}  // namespace

bool RunOperator::echoed(std::string_view line, bool progress) {
  std::lock_guard lock(mutex_);
  const bool same = !last_.empty() && line == last_ && progress != lastProgress_;
  last_ = same ? std::string() : std::string(line);
  lastProgress_ = progress;
  return same;
}

void RunOperator::log(std::string_view line) {
  if (!echoed(line, false)) console_.log(line);
}

void RunOperator::progressLog(std::string_view line) {
  if (!echoed(line, true)) console_.progressLog(line);
}

void RunOperator::runStarted(RunKind) {
  std::lock_guard lock(mutex_);
  end_.reset();
}

void RunOperator::runFinished(const RunEnd& end) {
  {
    std::lock_guard lock(mutex_);
    end_ = end;
  }
  ended_.notify_all();
}

std::optional<RunEnd> RunOperator::waitForEnd(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  ended_.wait_for(lock, limit, [this] { return end_.has_value(); });
  return end_;
}

EngineSession::EngineSession(const SessionOptions& o) : options(o) {
  console.answerYes = o.yes;
  gInterrupt = false;
  std::signal(SIGINT, onInterrupt);
}

EngineSession::~EngineSession() {
  engine.reset();
  if (connection && connection->link) connection->link->closeConnection();
  std::signal(SIGINT, SIG_DFL);
}

bool EngineSession::open() {
  // Diagnostics work on the empty test of start-up, which the bench holds from the start.
  if (!options.test.empty()) {
    app::LoadOptions load;
    load.expansion.romDataFile = options.romData;
    load.expansion.compressedRamTest = !options.fullRam;
    const auto loaded = app::loadTest(bench, options.test, op, load);
    if (!loaded.shown) {
      std::fprintf(stderr, "qel: the test '%s' was not loaded\n", options.test.c_str());
      return false;
    }
  }
  connection = connectTester(options.tester, op);
  if (!connection) return false;
  engine = std::make_unique<engine::TestEngine>(bench, *connection->link, connection->clock, op);
  return true;
}

RunEnd EngineSession::waitForRun() {
  // A signal handler can only set a flag, so the wait wakes now and then to look at it.
  constexpr std::chrono::milliseconds kInterruptCheck{50};
  std::optional<RunEnd> end;
  while (!(end = op.waitForEnd(kInterruptCheck))) {
    if (!gInterrupt.exchange(false)) continue;
    interrupted = true;
    std::fprintf(stdout, "Отмена\n");
    std::fflush(stdout);
    engine->cancel();
    end = op.waitForEnd(std::chrono::milliseconds::zero());
    break;
  }
  engine->wait();
  RunEnd result = end.value_or(RunEnd{});
  if (interrupted) result.outcome = RunOutcome::Cancelled;
  return result;
}

nlohmann::ordered_json contactsJson(const engine::Bench& bench) {
  std::lock_guard lock(bench.dataMutex);
  auto out = nlohmann::ordered_json::array();
  for (int p = 1; p <= bench.test.pinCount && p <= kContactRecords; ++p) {
    const auto& r = bench.contacts[size_t(p - 1)];
    out.push_back({{"pin", p}, {"mark", r.mark}, {"level", r.level}, {"group", r.group}});
  }
  return out;
}

nlohmann::ordered_json resultJson(const TestDescription& t) {
  auto out = nlohmann::ordered_json::array();
  for (int p = 1; p <= t.pinCount; ++p) {
    std::string codes(size_t(std::max(t.cycleCount, 0)), '5');
    for (int c = 1; c <= t.cycleCount; ++c) codes[size_t(c - 1)] = char('0' + t.resultCode(p, c) % 10);
    out.push_back({{"pin", p}, {"codes", codes}});
  }
  return out;
}

}  // namespace qel::cli
