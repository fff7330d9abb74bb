// The chip reference book of 50,000 names: loading it and the search of one keystroke in the
// chip-name box, each beside its baseline in the same run: reading the file's bytes, and one
// case-insensitive scan of the names as plain text.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/reference_book.h"
#include "fileio/input_file.h"
#include "operator/operator.h"
#include "text/codepage.h"

namespace {

using namespace qel;

constexpr int kNames = 50000;

// 10,000 tests with five synonyms each, Cyrillic and Latin, as a big library has them.
const std::string& bookFile() {
  static const std::string path = [] {
    const auto p = (std::filesystem::temp_directory_path() / "qel-bench-book.lib").string();
    std::ofstream f(p, std::ios::binary);
    const char* series[] = {"К155", "К555", "КР1533", "SN74LS", "74HC"};
    for (int i = 0; i < kNames / 5; ++i) {
      f << " " << i << " <Tests>:\\lib\\test" << i << ".qel\r\n";
      for (const char* s : series)
        f << text::utf8ToCp1251(std::string(s) + "ИЕ" + std::to_string(i)) << "|<Desc>:\\pdf\\" << i
          << ".pdf\r\n";
    }
    return p;
  }();
  return path;
}

void BM_ReadBookBytes(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes, reason;
    fileio::readWholeFile(bookFile(), 1 << 30, bytes, reason);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_ReadBookBytes)->Unit(benchmark::kMillisecond);

void BM_LoadBook(benchmark::State& state) {
  SilentOperator op;
  for (auto _ : state) {
    app::ReferenceBook book;
    book.loadBook(bookFile(), {"/tests", "/pdf"}, op);
    benchmark::DoNotOptimize(book.nameCount());
  }
}
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond);

// The baseline: the names as plain ASCII-folded lines, one case-insensitive scan for the text.
void BM_ScanNames(benchmark::State& state) {
  SilentOperator op;
  app::ReferenceBook book;
  book.loadBook(bookFile(), {"/tests", "/pdf"}, op);
  std::vector<std::string> names;
  for (const auto& e : book.entries())
    for (const auto& n : e.names) names.push_back(n.chipTitle);
  const std::string needle = "ИЕ1234";
  for (auto _ : state) {
    size_t hits = 0;
    for (const auto& n : names) {
      auto it = std::search(n.begin(), n.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
      });
      hits += it != n.end();
    }
    benchmark::DoNotOptimize(hits);
  }
}
BENCHMARK(BM_ScanNames)->Unit(benchmark::kMillisecond);

// One keystroke of the chip-name box: the search and the verdict on it. The first letter matches
// nearly every name and fills the list to its limit.
void BM_KeystrokeSearch(benchmark::State& state, const char* typed) {
  SilentOperator op;
  app::ReferenceBook book;
  book.loadBook(bookFile(), {"/tests", "/pdf"}, op);
  for (auto _ : state) {
    auto lookup = app::lookupChip(book, typed);
    benchmark::DoNotOptimize(lookup.search.matchingFiles);
  }
}
BENCHMARK_CAPTURE(BM_KeystrokeSearch, name, "ие1234")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeystrokeSearch, firstLetter, "к")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
