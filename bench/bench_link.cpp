// One full 8191-cycle block round trip. The program's side (compose, frame, send, parse 16,382
// answers) is set against the 131 ms that a full-speed USB link needs for the same 131,056
// bytes at 1 MB/s; a memcpy of those bytes is the baseline of this machine.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tester/tester_link.h"
#include "virtual/virtual_session.h"

using namespace qel;

namespace {

constexpr int kPins = 14;
constexpr size_t kLinkBytes = 2 * tester::kImageSize;  // image out, answers back
constexpr double kUsbSeconds = double(kLinkBytes) / 1e6;

std::vector<uint8_t> blockData() {
  std::vector<uint8_t> block(size_t(tester::kMaxBlockCycles) * kPins, 2);
  for (int i = 0; i < tester::kMaxBlockCycles; ++i) {
    uint8_t* row = block.data() + size_t(i) * kPins;
    row[0] = uint8_t(i & 1);
    row[1] = uint8_t((i >> 1) & 1);
    row[3] = uint8_t((i >> 2) & 1);
    row[4] = 1;
  }
  return block;
}

std::vector<int32_t> pinTypes() {
  std::vector<int32_t> t(kPins, 1);
  for (int p : {3, 6, 8, 11}) t[size_t(p - 1)] = 2;
  t[6] = 10;
  t[13] = 15;
  return t;
}

tester::TestParameters parameters(const std::vector<int32_t>& types) {
  tester::TestParameters p;
  p.pinCount = kPins;
  p.pinTypeCodes = types;
  p.cycleCount = tester::kMaxBlockCycles;
  return p;
}

// Hands back answers recorded from the virtual tester, so only the program's side is timed.
class ReplayDriver : public tester::Driver {
 public:
  explicit ReplayDriver(std::vector<uint8_t> blockAnswers) : answers_(std::move(blockAnswers)) {}
  d2xx::Status openByDescription(const char*, d2xx::Handle& h) override {
    h = this;
    return 0;
  }
  d2xx::Status close(d2xx::Handle) override { return 0; }
  d2xx::Status queueStatus(d2xx::Handle, uint32_t& count) override {
    count = uint32_t(rx_.size() - at_);
    return 0;
  }
  d2xx::Status read(d2xx::Handle, uint8_t* buffer, uint32_t count, uint32_t& got) override {
    got = uint32_t(std::min<size_t>(count, rx_.size() - at_));
    std::memcpy(buffer, rx_.data() + at_, got);
    at_ += got;
    return 0;
  }
  d2xx::Status write(d2xx::Handle, const uint8_t* buffer, uint32_t count, uint32_t& written) override {
    written = count;
    if (count == tester::kParameterFrameSize) rx_.push_back(tester::kAckDone);
    if (count == tester::kImageSize) {
      benchmark::DoNotOptimize(buffer[count - 1]);
      rx_.insert(rx_.end(), answers_.begin(), answers_.end());
    }
    return 0;
  }
  d2xx::Status purge(d2xx::Handle, uint32_t) override {
    rx_.clear();
    at_ = 0;
    return 0;
  }

 private:
  std::vector<uint8_t> answers_;
  std::vector<uint8_t> rx_;
  size_t at_ = 0;
};

// Wall time of the measured part of each iteration, summed.
struct Stopwatch {
  std::chrono::steady_clock::duration total{};
  template <typename F>
  void time(F f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    total += std::chrono::steady_clock::now() - t0;
  }
};

void setRatio(benchmark::State& state, const Stopwatch& watch) {
  // Mean wall time per block as a percentage of the USB transfer time.
  const double seconds =
      std::chrono::duration<double>(watch.total).count() / double(std::max<int64_t>(1, state.iterations()));
  state.counters["pct_of_usb"] = seconds / kUsbSeconds * 100.0;
  state.counters["block_ms"] = seconds * 1e3;
  state.counters["usb_ms"] = kUsbSeconds * 1e3;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kLinkBytes));
}

struct VirtualRig {
  tester::SystemClock clock;
  std::unique_ptr<virt::VirtualSession> session;
  std::unique_ptr<tester::Port> port;
  std::unique_ptr<tester::TesterLink> link;
  VirtualRig() {
    virt::BoardConfig config;
    std::string error;
    session = virt::VirtualSession::create(config, clock, error);
    port = std::make_unique<tester::Port>(session->driver(), clock);
    link = std::make_unique<tester::TesterLink>(*port, clock);
    port->openPort();
    link->powerOn();
  }
};

// The answers of one block as the virtual tester sends them (acknowledgement first).
std::vector<uint8_t> recordAnswers(const std::vector<uint8_t>& block, const std::vector<int32_t>& types) {
  VirtualRig r;
  r.link->setTestParameters(parameters(types));
  r.link->composeImage(block);
  const std::vector<uint8_t> image = r.link->imageBytes();
  r.session->device().clearOutput();
  const uint8_t code = tester::kRunImage;
  r.session->device().receive(&code, 1);
  r.session->device().receive(image.data(), image.size());
  std::vector<uint8_t> answers(r.session->device().pending());
  r.session->device().take(answers.data(), answers.size());
  return answers;
}

void BM_ProgramSide(benchmark::State& state) {
  const auto block = blockData();
  const auto types = pinTypes();
  ReplayDriver driver(recordAnswers(block, types));
  tester::SystemClock clock;  // as in the program; nothing waits here once the port is open
  tester::Port port(driver, clock);
  tester::TesterLink link(port, clock);
  port.openPort();
  std::vector<uint8_t> result(block.size());
  Stopwatch watch;
  for (auto _ : state) {
    watch.time([&] {
      link.setTestParameters(parameters(types));
      link.composeImage(block);
      if (link.runImage(result)) state.SkipWithError("block failed");
    });
    benchmark::DoNotOptimize(result.data());
  }
  setRatio(state, watch);
}
BENCHMARK(BM_ProgramSide)->Unit(benchmark::kMillisecond);

void BM_RoundTripThroughVirtualTester(benchmark::State& state) {
  const auto block = blockData();
  const auto types = pinTypes();
  VirtualRig r;
  std::vector<uint8_t> result(block.size());
  Stopwatch watch;
  for (auto _ : state) {
    watch.time([&] {
      r.link->setTestParameters(parameters(types));
      r.link->composeImage(block);
      if (r.link->runImage(result)) state.SkipWithError("block failed");
    });
    benchmark::DoNotOptimize(result.data());
  }
  setRatio(state, watch);
}
BENCHMARK(BM_RoundTripThroughVirtualTester)->Unit(benchmark::kMillisecond);

void BM_MemcpyBaseline(benchmark::State& state) {
  std::vector<uint8_t> from(kLinkBytes, 0x5A), to(kLinkBytes);
  Stopwatch watch;
  for (auto _ : state) {
    watch.time([&] { std::memcpy(to.data(), from.data(), from.size()); });
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  setRatio(state, watch);
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
