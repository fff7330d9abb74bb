// Grading the 8192-cycle ROM example with its full fault list, beside one good-chip simulation of
// the same test in the same run. The goal: the grading within (faults / cores) x 1.3 of it.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "app/test_loader.h"
#include "coverage/fault_list.h"
#include "coverage/fault_simulation.h"
#include "engine/bench.h"
#include "virtual/board.h"

using namespace qel;

namespace {

struct Rom {
  engine::Bench bench;
  virt::BoardConfig board;
  std::vector<std::string> faults;
  std::unique_ptr<coverage::FaultSimulator> simulator;

  Rom() {
    SilentOperator op;
    app::loadTest(bench, std::string(QEL_EXAMPLES_DIR) + "/eprom2716_rom.qel", op);
    board.chip = "2716";
    board.romFile = std::string(QEL_EXAMPLES_DIR) + "/eprom2716.dat";
    std::string error;
    const auto good = virt::Board::create(board, error);
    faults = coverage::faultList(good->chip());
    simulator = std::make_unique<coverage::FaultSimulator>(bench.test, board);
  }
};

Rom& rom() {
  static Rom r;
  return r;
}

void goodChip(benchmark::State& state) {
  Rom& r = rom();
  std::string error;
  for (auto _ : state) benchmark::DoNotOptimize(r.simulator->firstError("", error));
  state.counters["cycles"] = r.bench.test.cycleCount;
}

void gradeAllFaults(benchmark::State& state) {
  Rom& r = rom();
  // Argument: workers, 0 for one per core.
  const int workers = int(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(r.simulator->grade(r.faults, {}, nullptr, workers));
  state.counters["faults"] = double(r.faults.size());
  state.counters["workers"] =
      workers > 0 ? unsigned(workers) : std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

// Wall time: the workers run beside the thread that is timed.
BENCHMARK(goodChip)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(gradeAllFaults)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
