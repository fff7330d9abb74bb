// The VCD export of 40 pins x 1,000,000 cycles with a result holding mismatches, beside writing
// the same number of bytes from memory through the same safe save, in the same run. The peak
// memory of the export is reported beside the memory the test itself holds.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "exports/vcd_export.h"
#include "fileio/safe_save.h"

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace {

using namespace qel;

constexpr int kPins = 40, kCycles = 1'000'000;

// 20 inputs and 20 outputs with random levels, a few don't cares; the result agrees but for one
// cell in a thousand.
const TestDescription& bigTest() {
  static const TestDescription test = [] {
    TestDescription t;
    t.pinCount = kPins;
    for (int p = 1; p <= kPins; ++p) {
      t.pins[size_t(p)].typeText = p <= 20 ? "I" : "O";
      t.pins[size_t(p)].name = "P" + std::to_string(p);
      t.rows[size_t(p)] = {p, 1};
    }
    t.computeTypeCodes();
    t.setCycleCount(kCycles);
    std::mt19937_64 random(7);
    for (int c = 1; c <= kCycles; ++c) {
      const uint64_t bits = random();
      const uint64_t dontCare = random() & random() & random() & 0xFFFFF00000ull;
      t.setCells(c, (uint64_t(1) << kPins) - 1, 0, CycleCells{dontCare, bits, 0});
      for (int p = 1; p <= kPins; ++p) {
        uint8_t code = (bits >> (p - 1)) & 1u ? kReadHigh : kReadLow;
        if (random() % 1000 == 0) code = code == kReadHigh ? kReadLow : kReadHigh;
        t.setResultCode(p, c, code);
      }
    }
    return t;
  }();
  return test;
}

long peakKiB() {
#if defined(__linux__)
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
#else
  return 0;
#endif
}

std::string target() {
  return (std::filesystem::temp_directory_path() / "qel-bench-export.vcd").string();
}

size_t gVcdBytes = 0;

void BM_VcdExport(benchmark::State& state) {
  const TestDescription& t = bigTest();
  const long before = peakKiB();
  for (auto _ : state) {
    if (!exports::saveVcd(t, {"today", "bench", "big.qel", "run"}, target()).empty())
      state.SkipWithError("save");
  }
  gVcdBytes = std::filesystem::file_size(target());
  state.counters["MiB"] = double(gVcdBytes) / (1 << 20);
  state.counters["testMiB"] = double(t.storageBytes()) / (1 << 20);
  state.counters["peakRiseMiB"] = double(peakKiB() - before) / 1024;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(gVcdBytes));
}
BENCHMARK(BM_VcdExport)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same number of bytes, already in memory, saved the same way.
void BM_WriteSameBytes(benchmark::State& state) {
  bigTest();
  if (gVcdBytes == 0)
    exports::saveVcd(bigTest(), {}, target()), gVcdBytes = std::filesystem::file_size(target());
  const std::string bytes(gVcdBytes, '0');
  for (auto _ : state) {
    if (!fileio::saveFile(target(), bytes).empty()) state.SkipWithError("save");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(gVcdBytes));
}
BENCHMARK(BM_WriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
