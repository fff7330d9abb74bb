#pragma once
// A TestEngine in front of an in-process virtual tester on a manual clock, with every driver
// write seen on its way.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/test_loader.h"
#include "bench_staging.h"
#include "engine/bench.h"
#include "engine/test_engine.h"
#include "recording_operator.h"
#include "tester/port.h"
#include "tester/protocol.h"
#include "virtual/virtual_session.h"

namespace qel::testing {

// Passes every call to the virtual tester; remembers the cycle count of every parameter frame and
// every block image written.
class WatchingDriver : public tester::Driver {
 public:
  explicit WatchingDriver(tester::Driver& inner) : inner_(inner) {}
  d2xx::Status openByDescription(const char* d, d2xx::Handle& h) override {
    return inner_.openByDescription(d, h);
  }
  d2xx::Status close(d2xx::Handle h) override { return inner_.close(h); }
  d2xx::Status queueStatus(d2xx::Handle h, uint32_t& n) override { return inner_.queueStatus(h, n); }
  d2xx::Status read(d2xx::Handle h, uint8_t* b, uint32_t n, uint32_t& got) override {
    return inner_.read(h, b, n, got);
  }
  d2xx::Status write(d2xx::Handle h, const uint8_t* b, uint32_t n, uint32_t& written) override {
    if (n == 8 && b[0] == 0xA3) frameCycles.push_back(b[4] * 256 + b[5]);
    if (n == tester::kImageSize) images.emplace_back(b, b + n);
    return inner_.write(h, b, n, written);
  }
  d2xx::Status purge(d2xx::Handle h, uint32_t mask) override { return inner_.purge(h, mask); }
  std::vector<int> frameCycles;
  std::vector<std::vector<uint8_t>> images;

 private:
  tester::Driver& inner_;
};

// A manual clock that, once armed and while its condition holds, keeps the sleeping thread in
// its wait until a stop is requested: a worker caught inside a tester wait.
class GatedClock : public tester::Clock {
 public:
  void sleepMs(int ms) override {
    if (condition && condition()) {
      {
        std::lock_guard lock(mutex_);
        inWait = true;
      }
      held_.notify_all();
      // The engine's requestStop ends the hold. Looked at, not waited on: atomic wait loses the
      // wake-up now and then with g++ 12's library on Windows.
      while (stop != nullptr && !stop->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    now_ += int64_t(ms) * 1000;
  }
  // True once the sleeping thread is held; false when it was not within the limit.
  bool waitUntilHeld(std::chrono::seconds limit = std::chrono::seconds(30)) {
    std::unique_lock lock(mutex_);
    return held_.wait_for(lock, limit, [this] { return inWait.load(); });
  }
  int64_t nowMicros() const override { return now_; }
  std::string timeOfDay() const override { return "00:00:00"; }
  std::function<bool()> condition;  // called on the sleeping thread
  const std::atomic<bool>* stop = nullptr;
  std::atomic<bool> inWait{false};

 private:
  std::atomic<int64_t> now_{0};
  std::mutex mutex_;
  std::condition_variable held_;
};

struct EngineRig {
  GatedClock clock;
  std::unique_ptr<virt::VirtualSession> session;
  std::unique_ptr<WatchingDriver> driver;
  std::unique_ptr<tester::Port> port;
  std::unique_ptr<tester::TesterLink> link;
  engine::Bench bench;
  app::LoadOptions loadOptions;
  RecordingOperator op;
  std::unique_ptr<engine::TestEngine> engine;

  explicit EngineRig(const virt::BoardConfig& config) {
    std::string error;
    session = virt::VirtualSession::create(config, clock, error);
    if (!session) throw std::runtime_error(error);
    driver = std::make_unique<WatchingDriver>(session->driver());
    port = std::make_unique<tester::Port>(*driver, clock);
    link = std::make_unique<tester::TesterLink>(*port, clock);
    engine = std::make_unique<engine::TestEngine>(bench, *link, clock, op);
    clock.stop = &engine->stopRequested;
  }
  static virt::BoardConfig board(const std::string& part, std::vector<std::string> faults = {}) {
    virt::BoardConfig c;
    c.chip = part;
    for (const auto& f : faults)
      if (auto e = virt::applySpec(c, f)) throw std::runtime_error(*e);
    return c;
  }
  // Loads an example test; the rig's chip must fit it.
  void load(const std::string& name) {
    const auto r = app::loadTest(bench, std::string(QEL_EXAMPLES_DIR) + "/" + name, op, loadOptions);
    if (!r.shown) throw std::runtime_error("example " + name + " did not load");
    op.clear();
  }
  // A test built in memory put on the bench, as a load leaves it.
  void place() { bench.endLoad(true); }
  // The full test, to its end.
  engine::Outcome runFull() {
    if (!engine->startFullTest()) return engine::Outcome::NotStarted;
    engine->wait();
    return engine->lastOutcome();
  }
  // Starts the full test and returns true once its worker waits for a block's answers, where the
  // clock holds it until a stop is requested.
  bool startFullHeldInBlock() {
    clock.condition = [this] {
      const auto& c = session->device().commands();
      return !c.empty() && c.back() == tester::kRunImage;
    };
    return engine->startFullTest() && clock.waitUntilHeld();
  }
  engine::Outcome runContact() {
    if (!engine->startContactTest()) return engine::Outcome::NotStarted;
    engine->wait();
    return engine->lastOutcome();
  }
  const std::vector<uint8_t>& commands() { return session->device().commands(); }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : op.messages()) out.push_back(m.text);
    return out;
  }
};

}  // namespace qel::testing
