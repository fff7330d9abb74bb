// qel coverage: how many of the chip's internal faults a test finds, by fault simulation.

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <memory>

#include "algorithms/rom_data_file.h"
#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/output.h"
#include "coverage/coverage_totals.h"
#include "coverage/fault_hints.h"
#include "coverage/fault_list.h"
#include "coverage/fault_simulation.h"
#include "virtual/board.h"

namespace qel::cli {

namespace {

struct CoverageOptions {
  std::string test;
  std::string chip;
  std::string model;
  std::string rom;
  std::string romData;
  bool fullRam = false;
  std::string report;
  int jobs = 0;
};

int grade(const CoverageOptions& o) {
  if (auto e = routeStandardOutput({&o.report})) return usageError("qel coverage: " + *e);
  ConsoleOperator op;
  op.printLog = false;
  engine::Bench bench;
  app::LoadOptions load;
  load.expansion.romDataFile = o.romData;
  load.expansion.compressedRamTest = !o.fullRam;
  if (!app::loadTest(bench, o.test, op, load).shown) {
    std::fprintf(stderr, "qel: the test '%s' was not loaded\n", o.test.c_str());
    return 2;
  }
  const TestDescription& test = bench.test;

  virt::BoardConfig board;
  board.chip = o.chip;
  board.modelFile = o.model;
  board.romFile = o.rom;
  // A ROM is graded against the image its test checks, unless another is named.
  if (board.romFile.empty() && test.algorithms.rom.selected && !test.algorithms.rom.dataFileName.empty())
    board.romFile = algorithms::resolveBesideTest(test.fileName, test.algorithms.rom.dataFileName);
  std::string error;
  const auto good = virt::Board::create(board, error);
  if (!good) {
    std::fprintf(stderr, "qel: %s\n", error.c_str());
    return 2;
  }
  const std::vector<std::string> faults = coverage::faultList(good->chip());

  const auto started = std::chrono::steady_clock::now();
  const coverage::FaultSimulator simulator(test, board);
  const int failing = simulator.firstError("", error);
  if (failing != 0) {
    if (failing > 0)
      std::printf(
          "Исправная микросхема %s не проходит тест: первая ошибка в такте %d. У такого теста нет "
          "покрытия; исправьте тест или модель.\n",
          std::string(good->chip().part()).c_str(), failing);
    else
      std::fprintf(stderr, "qel: %s\n", error.c_str());
    return 2;
  }
  // Progress only where grading takes long enough to wait for.
  auto nextShown = started + std::chrono::seconds(1);
  const auto outcomes = simulator.grade(
      faults,
      [&](int done, int total) {
        const auto now = std::chrono::steady_clock::now();
        if (now < nextShown && !(done == total && nextShown > started + std::chrono::seconds(1))) return;
        nextShown = now + std::chrono::milliseconds(250);
        std::fprintf(stderr, "\rСмоделировано неисправностей: %d из %d%s", done, total,
                     done == total ? "\n" : "");
      },
      nullptr, o.jobs);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  const coverage::CoverageTotals totals = coverage::totalsOf(outcomes);
  std::printf("Покрытие теста %s на %s:\n", o.test.c_str(), std::string(good->chip().part()).c_str());
  for (const auto& c : totals.classes)
    std::printf("  %s: %s\n", coverage::classCaption(c.faultClass),
                coverage::shareText(c.detected, c.faults).c_str());
  std::printf("  всего: %s\n", coverage::shareText(totals.detected, totals.faults).c_str());
  const auto activity = coverage::pinActivity(test);
  bool header = false;
  for (const auto& f : outcomes) {
    if (!f.error.empty()) {
      std::fprintf(stderr, "qel: %s: %s\n", f.fault.c_str(), f.error.c_str());
      continue;
    }
    if (f.detected) continue;
    if (!header) std::printf("Не обнаружены:\n");
    header = true;
    std::printf("  %-22s %s\n", f.fault.c_str(), coverage::missedFaultHint(test, activity, f.fault).c_str());
  }
  std::fprintf(stderr, "Время: %.2f с\n", seconds);

  int status = totals.detected == totals.faults ? 0 : 1;
  if (!o.report.empty()) {
    nlohmann::ordered_json report;
    report["test"] = o.test;
    report["chip"] = std::string(good->chip().part());
    report["cycles"] = test.cycleCount;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& f : outcomes) {
      nlohmann::ordered_json j;
      j["fault"] = f.fault;
      j["class"] = coverage::classCaption(coverage::classOf(f.fault));
      j["detected"] = f.detected;
      j["firstCycle"] = f.detected ? nlohmann::ordered_json(f.firstCycle) : nlohmann::ordered_json(nullptr);
      if (!f.error.empty()) j["error"] = f.error;
      if (!f.detected && f.error.empty()) j["hint"] = coverage::missedFaultHint(test, activity, f.fault);
      list.push_back(j);
    }
    report["faults"] = list;
    nlohmann::ordered_json classes = nlohmann::ordered_json::array();
    for (const auto& c : totals.classes)
      classes.push_back(
          {{"class", coverage::classCaption(c.faultClass)}, {"faults", c.faults}, {"detected", c.detected}});
    report["classes"] = classes;
    report["faultCount"] = totals.faults;
    report["detectedCount"] = totals.detected;
    if (!writeReport(o.report, report)) status = 2;
  }
  return status;
}

const bool registered = registerCommand(
    {"coverage", kFileCommands, "grade a test: which faults inside the chip it finds, by fault simulation",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<CoverageOptions>();
       command.add_option("TEST", o->test, "the test file")->required()->type_name("");
       auto* chip =
           command.add_option("--chip", o->chip, "the chip the test is for, as the virtual tester has it")
               ->type_name("")
               ->check(CLI::IsMember(virt::knownParts()));
       command.add_option("--model", o->model, "the chip as a chip model file (docs/chip-models.md)")
           ->type_name("FILE")
           ->excludes(chip);
       command
           .add_option("--rom", o->rom, "the 2716's ROM data file (default: the one the test checks against)")
           ->type_name("FILE");
       command.add_option("--data", o->romData, "the ROM data file a Rom template is expanded with")
           ->type_name("FILE");
       command.add_flag("--full-ram", o->fullRam, "the full RAM test instead of the compressed one");
       command.add_option("--report", o->report, "every fault, found or missed, as JSON")
           ->type_name("OUT.json");
       command.add_option("--jobs", o->jobs, "workers (default: one per core)")
           ->type_name("N")
           ->check(CLI::Range(1, 256));
       command.footer(
           "The good chip must pass first. Then the test runs once per fault inside the chip (in0, in1, "
           "out0,\n"
           "out1, bridge; for the 2716 and 6116 also the address, data and cell faults) on the board model.\n"
           "Exit status: 0 every fault found, 1 some missed, 2 the good chip fails, or a usage error.");
       command.parse_complete_callback([o] {
         if (o->chip.empty() && o->model.empty())
           throw CLI::ValidationError("name the chip: --chip PART or --model FILE");
       });
       return [o] { return grade(*o); };
     }});

}  // namespace

}  // namespace qel::cli
