// Expansion of memory templates, each beside a memcpy of as many bytes as a byte-a-level reference
// of the expanded test would hold.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "algorithms/expansion.h"
#include "algorithms/memory_plan.h"
#include "diagnosis/memory_diagnosis.h"

namespace {

using namespace qel;

// 64K x 8 static RAM in a 32-pin package: A0..A15 on pins 1..16, I/O0..7 on 17..24, /WE 25, /OE 26,
// /CS 27. Template: write block of two cycles, read block of two cycles.
TestDescription ramTemplate() {
  TestDescription t;
  t.pinCount = 32;
  for (int p = 1; p <= 32; ++p) t.rows[size_t(p)] = {p, 1};
  for (int p = 1; p <= 16; ++p) t.pins[size_t(p)].typeText = "I";
  for (int p = 17; p <= 24; ++p) t.pins[size_t(p)].typeText = "I/O";
  for (int p = 25; p <= 27; ++p) t.pins[size_t(p)].typeText = "I";
  t.pins[28].typeText = "GND";
  t.pins[32].typeText = "VCC";
  t.dataWordCount = 2;
  for (int k = 0; k < 16; ++k) t.words[0].pins[size_t(k + 1)] = k + 1;
  for (int k = 0; k < 8; ++k) t.words[1].pins[size_t(k + 1)] = 17 + k;
  t.setCycleCount(4);
  const char* strobes[] = {"-_--", "--__", "____"};
  for (int s = 0; s < 3; ++s)
    for (int c = 1; c <= 4; ++c) t.setLevel(25 + s, c, strobes[s][c - 1] == '-' ? kHigh : kLow);
  t.computeTypeCodes();
  t.takeReferenceBackup();
  t.templateCycles = 4;
  t.algorithmNumber = 3;
  t.algorithms.select(3);
  RamParams& p = t.algorithms.ram;
  p.startAddress = 0;
  p.finalAddress = 0xFFFF;
  p.writeStartCycle = 1;
  p.readStartCycle = 3;
  p.writeAddressCycle = 1;
  p.writeAddressCycles = 2;
  p.readAddressCycle = 3;
  p.readAddressCycles = 2;
  p.readAddressWord = p.writeAddressWord = 0;
  p.readDataWord = p.writeDataWord = 1;
  p.writeDataCycle = 2;
  p.readDataCycle = 4;
  return t;
}

// March C- over the same 64K x 8 RAM and template, checkerboard background.
TestDescription marchTemplate() {
  TestDescription t = ramTemplate();
  static_cast<MemoryTestParams&>(t.algorithms.march) = t.algorithms.ram;
  t.algorithms.march.background = MarchBackground::Checkerboard;
  t.algorithmNumber = 4;
  t.algorithms.select(4);
  return t;
}

// 64K x 8 ROM: the same pins, outputs on 17..24; four-cycle template with the data checked in cycle 3.
TestDescription romTemplate(const std::string& dataFile) {
  TestDescription t = ramTemplate();
  for (int p = 17; p <= 24; ++p) t.pins[size_t(p)].typeText = "O";
  t.computeTypeCodes();
  t.algorithmNumber = 2;
  t.algorithms.select(2);
  RomParams& r = t.algorithms.rom;
  r.addressWord = 0;
  r.addressCycle = 1;
  r.addressCycles = 1;
  r.dataWord = 1;
  r.dataCycle = 3;
  r.startAddress = 0;
  r.finalAddress = 0xFFFF;
  r.dataFileName = dataFile;
  return t;
}

// A copy of as many bytes as a reference of a byte a level, 101 a cycle, would hold.
void memcpyBaseline(benchmark::State& state, const TestDescription& expanded) {
  const size_t bytes = size_t(expanded.cycleCount + 2) * kReferenceRow;
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.counters["cycles"] = expanded.cycleCount;
}

// Expands the template again and again; the storage is allocated once, as in the program after a load.
void expandBench(benchmark::State& state, TestDescription t, const algorithms::ExpansionOptions& o,
                 void (*expand)(TestDescription&, Operator&, const algorithms::ExpansionOptions&)) {
  SilentOperator op;
  expand(t, op, o);
  for (auto _ : state) {
    t.setCycleCount(4);  // back to the template, as a reload would leave it
    expand(t, op, o);
    benchmark::ClobberMemory();
  }
  state.counters["cycles"] = t.cycleCount;
}

void expandRamBench(benchmark::State& state, bool compressed) {
  algorithms::ExpansionOptions o;
  o.compressedRamTest = compressed;
  expandBench(state, ramTemplate(), o, algorithms::expandRam);
}

TestDescription expandedOnce(bool ram, bool compressed) {
  SilentOperator op;
  algorithms::ExpansionOptions o;
  o.compressedRamTest = compressed;
  TestDescription t =
      ram ? ramTemplate()
          : romTemplate((std::filesystem::temp_directory_path() / "qel_bench_rom.dat").string());
  if (ram)
    algorithms::expandRam(t, op, o);
  else
    algorithms::expandRom(t, op, o);
  return t;
}

std::string romFile() {
  const auto path = std::filesystem::temp_directory_path() / "qel_bench_rom.dat";
  std::vector<char> bytes(65536);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + 3);
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return path.string();
}

void BM_ExpandRamFull(benchmark::State& s) {
  expandRamBench(s, false);
}
void BM_ExpandRamFull_MemcpyBaseline(benchmark::State& s) {
  memcpyBaseline(s, expandedOnce(true, false));
}
void BM_ExpandRamCompressed(benchmark::State& s) {
  expandRamBench(s, true);
}
void BM_ExpandRamCompressed_MemcpyBaseline(benchmark::State& s) {
  memcpyBaseline(s, expandedOnce(true, true));
}

// Goal: within 5 x the memcpy of the buffer it produces.
void BM_ExpandMarch64K(benchmark::State& state) {
  expandBench(state, marchTemplate(), {}, algorithms::expandMarch);
}
void BM_ExpandMarch64K_MemcpyBaseline(benchmark::State& s) {
  TestDescription t = marchTemplate();
  SilentOperator op;
  algorithms::expandMarch(t, op, {});
  memcpyBaseline(s, t);
}

// What the user waits for after a failing 64K March C-: the diagnosis of one stuck bit, whose reads
// every line fault must be tried against first. Beside the memcpy of the expansion above.
void BM_DiagnoseMarch64K(benchmark::State& state) {
  TestDescription t = marchTemplate();
  SilentOperator op;
  algorithms::expandMarch(t, op, {});
  for (int c = 1; c <= t.cycleCount; ++c)
    for (int p = 17; p <= 24; ++p) t.setResultCode(p, c, t.level(p, c) == kHigh ? kReadHigh : kReadLow);
  const auto plan = algorithms::memoryPlan(t);
  for (const auto& a : plan->accesses)
    if (!a.write && a.address == 0x1A3) t.setResultCode(21, a.dataCycle, kReadLow);
  std::vector<std::string> lines;
  for (auto _ : state) lines = diagnosis::memoryDiagnosis(t, 2);
  state.counters["cycles"] = t.cycleCount;
  state.SetLabel(lines.empty() ? "no diagnosis" : lines.front());
}

void BM_ExpandRom64K(benchmark::State& state) {
  TestDescription t = romTemplate(romFile());
  SilentOperator op;
  algorithms::expandRom(t, op, {});
  for (auto _ : state) {
    t.setCycleCount(4);
    algorithms::expandRom(t, op, {});
    benchmark::ClobberMemory();
  }
  state.counters["cycles"] = t.cycleCount;
}
void BM_ExpandRom64K_MemcpyBaseline(benchmark::State& s) {
  romFile();
  memcpyBaseline(s, expandedOnce(false, false));
}

// Context, not a goal: the share of an expansion that is the model growing the diagram.
void BM_GrowDiagramOnly(benchmark::State& state) {
  TestDescription t = ramTemplate();
  const int n = int(state.range(0));
  t.setCycleCount(n);
  for (auto _ : state) {
    t.setCycleCount(4);
    t.setCycleCount(n);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_ExpandRamFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandRamFull_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandRamCompressed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExpandRamCompressed_MemcpyBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExpandMarch64K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandMarch64K_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagnoseMarch64K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandRom64K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandRom64K_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowDiagramOnly)->Arg(606)->Arg(262'144)->Arg(524'894)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
