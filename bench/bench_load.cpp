// Loading a large test and comparing a large result, each beside a baseline in the same run:
// - load of 40 signals x 999,000 cycles against reading the file and cutting it into lines;
// - compareResults over 1,000,000 x 40 against one pass summing the same reference and result bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/test_loader.h"
#include "testfile/file_lines.h"
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

void BM_LoadTest(benchmark::State& state) {
  const auto& path = bigFile();
  qel::SilentOperator op;
  static qel::engine::Bench bench;  // the program keeps one test and reuses its buffers
  for (auto _ : state) {
    auto r = qel::app::loadTest(bench, path, op);
    if (!r.shown) state.SkipWithError("load failed");
  }
  state.counters["cycles"] = bench.test.cycleCount;
  state.counters["modelMB"] = double(bench.test.storageBytes()) / 1e6;
  // What the diagram buffers come to by their sizing rule: 103 n + 10301 reference, half that for
  // result and direction (bits), 100 n + 101 backup.
  const double n = bench.test.cycleCount;
  state.counters["ruleMB"] = ((103 * n + 10301) * 1.5 + (103 * n + 10301) / 16 + 100 * n + 101) / 1e6;
}
BENCHMARK(BM_LoadTest)->Unit(benchmark::kMillisecond);

struct CompareFixture {
  qel::TestDescription test;
  CompareFixture() {
    test.pinCount = kPins;
    for (int p = 1; p <= kPins; ++p) {
      test.pins[size_t(p)].typeText = p <= 20 ? "I" : "O";
      test.rows[size_t(p)] = {p, 1};
    }
    test.computeTypeCodes();
    const int cycles = 1'000'000;
    test.setCycleCount(cycles);
    std::mt19937 rng(3);
    for (int c = 1; c <= cycles; ++c)
      for (int p = 1; p <= kPins; ++p) {
        const uint8_t l = uint8_t(rng() % 3);
        test.setLevel(p, c, l);
        test.setResultCode(p, c, l == 2 ? 4 : uint8_t(l + 1));
      }
  }
};
CompareFixture& fixture() {
  static CompareFixture f;
  return f;
}

void BM_Baseline_SumReferenceAndResult(benchmark::State& state) {
  const auto& t = fixture().test;
  const auto& ref = t.referenceBuffer();
  const auto& res = t.resultBuffer();
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int c = 1; c <= t.cycleCount; ++c) {
      const uint8_t* r = ref.data() + size_t(c) * qel::kReferenceRow;
      const uint8_t* k = res.data() + size_t(c - 1) * kPins;
      for (int p = 1; p <= kPins; ++p) sum += r[p] + k[p - 1];
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Baseline_SumReferenceAndResult)->Unit(benchmark::kMillisecond);

void BM_CompareResults(benchmark::State& state) {
  const auto& t = fixture().test;
  qel::SilentOperator op;
  qel::views::ErrorList list;
  for (auto _ : state) {
    qel::views::compareResults(t, list, op);
    benchmark::DoNotOptimize(list.errorCount);
  }
  state.counters["errors"] = list.errorCount;
}
BENCHMARK(BM_CompareResults)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
