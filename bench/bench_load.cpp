// Loading a large test and comparing a large result, each beside a baseline in the same run:
// - load of 40 signals x 999,000 cycles, into a fresh model each time (its memory first touched,
//   as at every program start and every qel check) and as a reload into the same model, against
//   reading the file and cutting it into lines;
// - compareResults over 1,000,000 x 40 with 0 %, 1 % and 50 % of the cells mismatching, against
//   one pass summing as many bytes as a byte-a-level reference and result would hold.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/test_loader.h"
#include "text/codepage.h"
#include "views/comparison.h"

namespace {

constexpr int kPins = 40;
constexpr int kCycles = 999'000;

const std::string& bigFile() {
  static const std::string path = [] {
    auto file = (std::filesystem::temp_directory_path() / "qel-bench-40x999000.qel").string();
    if (std::filesystem::exists(file)) return file;
    std::mt19937 rng(7);
    std::string out;
    auto line = [&](const std::string& s) { out += qel::text::utf8ToFileLine(s) + "\r\n"; };
    line("Тип корпуса=DIP40");
    for (int p = 1; p <= kPins; ++p) line(std::to_string(p) + (p <= 20 ? "=I" : "=O"));
    line("Число Тестов=1");
    line("Тест1==Большой тест\"");
    line("Слов Данных=0");
    line("Число Тактов=" + std::to_string(kCycles));
    line("Число сигналов управления=" + std::to_string(kPins));
    std::string symbols(kCycles, '_');
    for (int p = 1; p <= kPins; ++p) {
      line((p <= 20 ? "i" : "o") + std::to_string(p) + "=P" + std::to_string(p));
      for (auto& c : symbols) c = "_-*"[rng() % 3];
      out += symbols + "\r\n";
    }
    line("Конец Файла");
    line("Дополнительные парметры:( uhul, gen)");
    line("26409");
    line("2");
    std::ofstream(file, std::ios::binary) << out;
    return file;
  }();
  return path;
}

// Information the test holds: two bits a level, reference and result.
double informationMiB(int cycles) {
  return double(cycles) * kPins * 2 * 2 / 8 / (1 << 20);
}

void BM_Baseline_ReadAndSplit(benchmark::State& state) {
  const auto& path = bigFile();
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    std::string data(size_t(std::ftell(f)), '\0');
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(data.data(), 1, data.size(), f) != data.size()) state.SkipWithError("short read");
    std::fclose(f);
    std::vector<std::string_view> lines;
    const char* p = data.data();
    const char* end = p + data.size();
    while (p < end) {
      const auto* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      const char* stop = nl ? nl : end;
      lines.emplace_back(p, size_t(stop - p));
      p = stop + 1;
    }
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_Baseline_ReadAndSplit)->Unit(benchmark::kMillisecond);

void modelCounters(benchmark::State& state, const qel::TestDescription& t) {
  state.counters["cycles"] = t.cycleCount;
  state.counters["modelMiB"] = double(t.storageBytes()) / (1 << 20);
  state.counters["infoMiB"] = informationMiB(t.cycleCount);
}

// What a user pays at every program start and every qel check: a model whose memory is new.
void BM_LoadTest_FreshModel(benchmark::State& state) {
  const auto& path = bigFile();
  qel::SilentOperator op;
  std::unique_ptr<qel::engine::Bench> bench;
  for (auto _ : state) {
    state.PauseTiming();
    bench.reset();  // the old model's memory goes back before the new one is made
    state.ResumeTiming();
    bench = std::make_unique<qel::engine::Bench>();
    auto r = qel::app::loadTest(*bench, path, op);
    if (!r.shown) state.SkipWithError("load failed");
  }
  modelCounters(state, bench->test);
}
BENCHMARK(BM_LoadTest_FreshModel)->Unit(benchmark::kMillisecond);

// Opening the test again in a running program.
void BM_LoadTest_Reload(benchmark::State& state) {
  const auto& path = bigFile();
  qel::SilentOperator op;
  auto bench = std::make_unique<qel::engine::Bench>();
  qel::app::loadTest(*bench, path, op);
  for (auto _ : state) {
    auto r = qel::app::loadTest(*bench, path, op);
    if (!r.shown) state.SkipWithError("load failed");
  }
  modelCounters(state, bench->test);
}
BENCHMARK(BM_LoadTest_Reload)->Unit(benchmark::kMillisecond);

constexpr int kCompareCycles = 1'000'000;

// 20 inputs and 20 outputs; the given share of cells disagrees with the reference.
std::unique_ptr<qel::TestDescription> compareTest(int mismatchPercent) {
  auto test = std::make_unique<qel::TestDescription>();
  auto& t = *test;
  t.pinCount = kPins;
  for (int p = 1; p <= kPins; ++p) {
    t.pins[size_t(p)].typeText = p <= 20 ? "I" : "O";
    t.rows[size_t(p)] = {p, 1};
  }
  t.computeTypeCodes();
  t.setCycleCount(kCompareCycles);
  std::mt19937 rng(3);
  for (int c = 1; c <= kCompareCycles; ++c)
    for (int p = 1; p <= kPins; ++p) {
      uint8_t l = uint8_t(rng() % 3);
      uint8_t code = l == 2 ? 4 : uint8_t(l + 1);
      if (int(rng() % 10000) < mismatchPercent * 100) {
        if (l == 2) l = 0;
        code = l == 0 ? 2 : 1;
      }
      t.setLevel(p, c, l);
      t.setResultCode(p, c, code);
    }
  return test;
}

const qel::TestDescription& compareFixture(int mismatchPercent) {
  static std::unique_ptr<qel::TestDescription> tests[101];
  auto& t = tests[mismatchPercent];
  if (!t) t = compareTest(mismatchPercent);
  return *t;
}

void BM_Baseline_SumReferenceAndResult(benchmark::State& state) {
  // One byte a level: 101 reference bytes and 40 result bytes a cycle.
  std::vector<uint8_t> ref(size_t(kCompareCycles + 2) * 101, 1), res(size_t(kCompareCycles + 1) * kPins, 2);
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int c = 1; c <= kCompareCycles; ++c) {
      const uint8_t* r = ref.data() + size_t(c) * 101;
      const uint8_t* k = res.data() + size_t(c - 1) * kPins;
      for (int p = 1; p <= kPins; ++p) sum += r[p] + k[p - 1];
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Baseline_SumReferenceAndResult)->Unit(benchmark::kMillisecond);

// arg: percent of mismatching cells
void BM_CompareResults(benchmark::State& state) {
  const auto& t = compareFixture(int(state.range(0)));
  qel::SilentOperator op;
  qel::views::ErrorList list;
  for (auto _ : state) {
    qel::views::compareResults(t, list, op);
    benchmark::DoNotOptimize(list.errorCount);
  }
  state.counters["errors"] = list.errorCount;
  state.counters["lastErrorCycle"] = list.errorCycles.empty() ? 0 : list.errorCycles.back();
}
BENCHMARK(BM_CompareResults)->Arg(0)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
