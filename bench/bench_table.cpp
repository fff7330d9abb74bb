// The table's rows for 1,000,000 cycles x 10 words of 4 pins: the fill on its worker against a
// baseline that formats the same values in one loop, the rows of one screen while a fill runs,
// and a search over all rows of a word.

#include <benchmark/benchmark.h>

#include <memory>

#include "views/table_rows.h"
#include "views/value_search.h"

using namespace qel;

namespace {

constexpr int kCycles = 1'000'000;
constexpr int kWords = 10;
constexpr int kScreenRows = 40;

const TestDescription& bigTest() {
  static std::unique_ptr<TestDescription> t;
  if (t) return *t;
  t = std::make_unique<TestDescription>();
  t->resetForStartup();
  t->pinCount = 4 * kWords;
  t->setCycleCount(kCycles);
  t->dataWordCount = kWords;
  for (int w = 0; w < kWords; ++w) {
    t->words[size_t(w)].name = "W" + std::to_string(w);
    t->words[size_t(w)].radix = 16;
    for (int b = 0; b < 4; ++b) t->words[size_t(w)].pins[size_t(b + 1)] = 4 * w + b + 1;
  }
  uint32_t x = 12345;
  for (int c = 1; c <= kCycles; ++c)
    for (int p = 1; p <= t->pinCount; ++p) {
      x = x * 1103515245u + 12345u;
      const uint8_t level = uint8_t((x >> 16) & 1);
      t->setLevel(p, c, level);
      // One reading in fifty differs from the reference.
      t->setResultCode(p, c, uint8_t(level + 1 + ((x >> 8) % 50 == 0 ? (level ? -1 : 1) : 0)));
    }
  return *t;
}

void BM_FormatBaseline(benchmark::State& state) {
  const TestDescription& t = bigTest();
  std::string reference, result;
  for (auto _ : state) {
    size_t total = 0;
    for (int c = 1; c <= kCycles; ++c)
      for (int w = 0; w < kWords; ++w) {
        reference = views::formatWordValue(t, c, w, views::Source::Reference);
        result = views::formatWordValue(t, c, w, views::Source::Result);
        total += reference.size() + result.size();
      }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kCycles) * kWords);
}
BENCHMARK(BM_FormatBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableFill(benchmark::State& state) {
  const TestDescription& t = bigTest();
  views::TableRows rows(t);
  for (auto _ : state) {
    rows.invalidate();
    rows.start();
    rows.wait();
  }
  state.SetItemsProcessed(state.iterations() * rows.rowCount());
}
BENCHMARK(BM_TableFill)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the painter pays for one screen of rows in the middle, while the fill has not got there.
void BM_ScreenWhileFilling(benchmark::State& state) {
  const TestDescription& t = bigTest();
  views::TableRows rows(t);
  rows.invalidate();
  rows.start();
  const int64_t middle = rows.rowCount() / 2;
  size_t total = 0;
  for (auto _ : state)
    for (int64_t a = middle; a < middle + kScreenRows; ++a) total += rows.row(a).reference.size();
  benchmark::DoNotOptimize(total);
  rows.stop();
}
BENCHMARK(BM_ScreenWhileFilling)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SearchAllRows(benchmark::State& state) {
  const TestDescription& t = bigTest();
  views::TableRows rows(t);
  rows.invalidate();
  rows.start();
  rows.wait();
  size_t found = 0;
  for (auto _ : state) {
    views::ValueSearch search(rows, 3, "a");
    while (!search.step(50'000)) {
    }
    found += search.cycles().size();
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * kCycles);
}
BENCHMARK(BM_SearchAllRows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
