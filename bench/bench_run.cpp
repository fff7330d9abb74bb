// A 1,000,000-cycle test on the virtual tester, end to end through `qel run`.
//
// Unpaced: the wall time of qel run, and how much of it is spent outside the virtual tester
// (the tester's own share is timed in-process around every driver call of the same run).
// Paced at a full-speed USB link (1,000,000 bytes/s): the time above what the link itself needs
// for the bytes that cross it. A memcpy over the same bytes is this machine's baseline.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/test_loader.h"
#include "engine/test_engine.h"
#include "nand_test.h"
#include "testfile/writer.h"
#include "virtual/virtual_session.h"

using namespace qel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCycles = 1'000'000;
constexpr double kUsbRate = 1e6;

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

const std::string& testFile() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "qel_bench_nand_1m.qel";
    TestDescription t;
    testing::buildNandTest(t, kCycles);
    const std::string error = testfile::writeTestFile(t, p.string(), testfile::WriteSource::Reference);
    if (!error.empty()) std::fprintf(stderr, "bench: %s\n", error.c_str());
    return p.string();
  }();
  return path;
}

// Times every call into the virtual tester and counts the bytes that cross the link.
class TimingDriver : public tester::Driver {
 public:
  explicit TimingDriver(tester::Driver& inner) : inner_(inner) {}
  template <class F>
  d2xx::Status timed(F f) {
    const auto t0 = Clock::now();
    const d2xx::Status s = f();
    inside += Clock::now() - t0;
    return s;
  }
  d2xx::Status openByDescription(const char* d, d2xx::Handle& h) override {
    return timed([&] { return inner_.openByDescription(d, h); });
  }
  d2xx::Status close(d2xx::Handle h) override {
    return timed([&] { return inner_.close(h); });
  }
  d2xx::Status queueStatus(d2xx::Handle h, uint32_t& n) override {
    return timed([&] { return inner_.queueStatus(h, n); });
  }
  d2xx::Status read(d2xx::Handle h, uint8_t* b, uint32_t n, uint32_t& got) override {
    const auto s = timed([&] { return inner_.read(h, b, n, got); });
    bytes += got;
    return s;
  }
  d2xx::Status write(d2xx::Handle h, const uint8_t* b, uint32_t n, uint32_t& written) override {
    const auto s = timed([&] { return inner_.write(h, b, n, written); });
    bytes += written;
    return s;
  }
  d2xx::Status purge(d2xx::Handle h, uint32_t mask) override {
    return timed([&] { return inner_.purge(h, mask); });
  }
  Clock::duration inside{};
  uint64_t bytes = 0;

 private:
  tester::Driver& inner_;
};

// The system clock, adding up what the link and the paced virtual link slept.
class CountingClock : public tester::SystemClock {
 public:
  void sleepMs(int ms) override {
    sleptMicros += int64_t(ms) * 1000;
    SystemClock::sleepMs(ms);
  }
  void sleepMicros(int64_t us) override {
    sleptMicros += us;
    SystemClock::sleepMicros(us);
  }
  int64_t sleptMicros = 0;
};

struct InProcess {
  double load = 0, run = 0, tester = 0;
  double slept = 0;
  uint64_t bytes = 0;
  int errors = -1;
};

// The same load and run as qel run, in this process, with the tester's time taken apart.
InProcess runInProcess(double rate) {
  InProcess r;
  CountingClock clock;
  virt::BoardConfig config;
  config.chip = "7400";
  config.bytesPerSecond = rate;
  std::string error;
  auto session = virt::VirtualSession::create(config, clock, error);
  TimingDriver driver(session->driver());
  tester::Port port(driver, clock);
  tester::TesterLink link(port, clock);
  engine::Bench bench;
  SilentOperator op;
  auto t0 = Clock::now();
  app::loadTest(bench, testFile(), op);
  r.load = seconds(Clock::now() - t0);
  engine::TestEngine engine(bench, link, clock, op);
  t0 = Clock::now();
  engine.startFullTest();
  engine.wait();
  r.run = seconds(Clock::now() - t0);
  r.tester = seconds(driver.inside);
  r.bytes = driver.bytes;
  r.slept = double(clock.sleptMicros) / 1e6;
  r.errors = bench.errors.errorCount;
  return r;
}

double runQel(double rate) {
  const std::string command = std::string(rate > 0 ? "QEL_PACE=" + std::to_string(int(rate)) + " " : "") +
                              QEL_BINARY + " run " + testFile() + " --tester virtual --chip 7400 > /dev/null";
  const auto t0 = Clock::now();
  const int status = std::system(command.c_str());
  const double s = seconds(Clock::now() - t0);
  if (status != 0) std::fprintf(stderr, "bench: qel run ended with status %d\n", status);
  return s;
}

double memcpySeconds(uint64_t bytes) {
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  const auto t0 = Clock::now();
  std::memcpy(b.data(), a.data(), bytes);
  benchmark::DoNotOptimize(b.data());
  return seconds(Clock::now() - t0);
}

void BM_QelRunUnpaced(benchmark::State& state) {
  testFile();
  for (auto _ : state) {
    const double total = runQel(0);
    const InProcess in = runInProcess(0);
    state.SetIterationTime(total);
    state.counters["qel_run_s"] = total;
    state.counters["load_s"] = in.load;
    state.counters["run_s"] = in.run;
    state.counters["virtual_tester_s"] = in.tester;
    state.counters["outside_tester_share"] = (total - in.tester) / total;
    state.counters["errors"] = in.errors;
    state.counters["link_MB"] = double(in.bytes) / 1e6;
    state.counters["memcpy_same_bytes_s"] = memcpySeconds(in.bytes);
  }
}
BENCHMARK(BM_QelRunUnpaced)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QelRunPacedFullSpeedUsb(benchmark::State& state) {
  testFile();
  for (auto _ : state) {
    const double total = runQel(kUsbRate);
    const InProcess in = runInProcess(kUsbRate);
    const double transfer = double(in.bytes) / kUsbRate;
    state.SetIterationTime(total);
    state.counters["qel_run_s"] = total;
    state.counters["paced_transfer_s"] = transfer;
    state.counters["overhead_share"] = (total - transfer) / transfer;
    state.counters["overhead_without_load_share"] = (total - in.load - transfer) / transfer;
    // Where the in-process paced run spent its time.
    state.counters["in_process_run_s"] = in.run;
    state.counters["in_process_overhead_share"] = (in.run - transfer) / transfer;
    state.counters["slept_s"] = in.slept;
  }
}
BENCHMARK(BM_QelRunPacedFullSpeedUsb)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
