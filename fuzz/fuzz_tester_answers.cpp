// Any bytes as the tester's answers: the contact test, the full test and the channel self-test
// take them through the port and the link. Nothing may crash, read past an answer, or wait past
// the link's limits.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/test_loader.h"
#include "engine/test_engine.h"
#include "tester/clock.h"
#include "tester/port.h"
#include "tester/tester_link.h"
#include "testfile/file_lines.h"

namespace {

// A tester that answers every command with the next of the fuzzer's bytes, a few at a time.
class FuzzedTester : public qel::tester::Driver {
 public:
  FuzzedTester(const uint8_t* data, size_t size, uint32_t step) : data_(data), size_(size), step_(step) {}

  qel::d2xx::Status openByDescription(const char*, qel::d2xx::Handle& handle) override {
    handle = this;
    return qel::d2xx::kOk;
  }
  qel::d2xx::Status close(qel::d2xx::Handle) override { return qel::d2xx::kOk; }
  qel::d2xx::Status queueStatus(qel::d2xx::Handle, uint32_t& count) override {
    // A tester answers commands: nothing arrives before the first one. Then each query lets a
    // few more bytes arrive, as a real link delivers them in pieces.
    if (spoken_) visible_ = std::min(size_, visible_ + step_);
    count = uint32_t(visible_ - taken_);
    return qel::d2xx::kOk;
  }
  qel::d2xx::Status read(qel::d2xx::Handle, uint8_t* buffer, uint32_t count, uint32_t& got) override {
    got = uint32_t(std::min<size_t>(count, visible_ - taken_));
    std::memcpy(buffer, data_ + taken_, got);
    taken_ += got;
    return qel::d2xx::kOk;
  }
  qel::d2xx::Status write(qel::d2xx::Handle, const uint8_t*, uint32_t count, uint32_t& written) override {
    written = count;
    spoken_ = true;
    return qel::d2xx::kOk;
  }
  qel::d2xx::Status purge(qel::d2xx::Handle, uint32_t mask) override {
    if (mask & qel::d2xx::kPurgeRx) taken_ = visible_;
    return qel::d2xx::kOk;
  }
  bool exhausted() const { return taken_ == size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  uint32_t step_;
  size_t visible_ = 0, taken_ = 0;
  bool spoken_ = false;
};

// The examples the runs use, read once: a combinational chip, a sequential one, a bus.
const std::string& example(int which) {
  static const std::string files[3] = {
      qel::testfile::readFileLines(QEL_EXAMPLES_DIR "/nand7400.qel").data,
      qel::testfile::readFileLines(QEL_EXAMPLES_DIR "/dff7474.qel").data,
      qel::testfile::readFileLines(QEL_EXAMPLES_DIR "/transceiver245.qel").data};
  return files[which % 3];
}

// Once every byte is taken, nothing more can arrive: each wait step jumps a second ahead, so
// the waits still end at their limits, but after a handful of polls instead of thousands.
class FuzzClock : public qel::tester::Clock {
 public:
  explicit FuzzClock(const FuzzedTester& tester) : tester_(tester) {}
  void sleepMs(int ms) override { now_ += int64_t(ms) * (tester_.exhausted() ? 1'000'000 : 1000); }
  int64_t nowMicros() const override { return now_; }
  std::string timeOfDay() const override { return "00:00:00"; }

 private:
  const FuzzedTester& tester_;
  int64_t now_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int which = data[0] & 3;
  const uint32_t step = 1u + (data[1] & 0x3F) * 4u;
  data += 2, size -= 2;

  FuzzedTester tester(data, size, step);
  FuzzClock clock(tester);
  qel::tester::Port port(tester, clock);
  qel::tester::TesterLink link(port, clock);
  qel::engine::Bench bench;
  qel::SilentOperator op;
  const std::string& bytes = example(which);
  qel::app::loadTest(bench, "fuzz.qel", op, {}, [&] { return qel::testfile::splitFileLines(bytes); });
  if (!bench.test.loaded) return 0;

  qel::engine::TestEngine engine(bench, link, clock, op);
  if (which == 3) {
    engine.runChannelTest(true);
  } else {
    engine.contactFirst = true;
    engine.runFullTest();
  }
  engine.shutdown();
  return 0;
}
