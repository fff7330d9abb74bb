#include "cli/tester_options.h"

#include <CLI/CLI.hpp>
#include <cstdlib>

#include "virtual/board.h"
#include "virtual/board_config.h"
#include "virtual/chip.h"

namespace qel::cli {

namespace {

constexpr const char* kGroup = "Tester options";

std::string joinFaults(const std::vector<std::string>& faults) {
  std::string all;
  for (const auto& f : faults) all += (all.empty() ? "" : ";") + f;
  return all;
}

void setVariable(const char* name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

void addTesterOptions(CLI::App& command, TesterOptions& o) {
  command
      .add_option("--tester", o.tester,
                  "d2xx: the vendor's driver library; ftdi: libftdi, the open driver (Linux); virtual: the "
                  "virtual tester. Default: QEL_TESTER, else d2xx where the vendor's library is installed, "
                  "else ftdi on Linux")
      ->type_name("")
      ->check(CLI::IsMember({"d2xx", "ftdi", "virtual"}))
      ->group(kGroup);
  auto* chip = command.add_option("--chip", o.chip, "the chip in the virtual tester's clip")
                   ->type_name("")
                   ->check(CLI::IsMember(virt::knownParts()))
                   ->group(kGroup);
  command
      .add_option("--model", o.model,
                  "a chip model file (docs/chip-models.md) for the chip in the virtual tester's clip")
      ->type_name("FILE")
      ->excludes(chip)
      ->group(kGroup);
  command.add_option("--board", o.board, "a board file for the virtual tester (docs/virtual-tester.md)")
      ->type_name("FILE")
      ->group(kGroup);
  command.add_option("--rom", o.rom, "the ROM data file of the virtual 2716")
      ->type_name("FILE")
      ->group(kGroup);
  command
      .add_option("--fault", o.faults,
                  "a fault on the virtual board, repeatable: in0:PIN in1:PIN out0:PIN out1:PIN "
                  "bridge:PIN,PIN open:PIN stuck0:PIN stuck1:PIN held0:PIN "
                  "held1:PIN short:PIN,PIN nosupply free absent silent:N break:N stray:N ramfault channel:N "
                  "cell:ADDRESS[=VALUE] rombyte:ADDRESS=VALUE pace:BYTES_PER_SECOND latency:MS")
      ->type_name("")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(CLI::Validator(
          [](std::string& spec) {
            virt::BoardConfig check;
            const auto error = virt::applySpec(check, spec);
            return error ? *error : std::string();
          },
          "SPEC"))
      ->group(kGroup);
  command.parse_complete_callback([&o] {
    const bool virtualChosen =
        o.tester == "virtual" || (o.tester.empty() && tester::virtualTesterRequested());
    if (o.boardGiven() && !virtualChosen)
      throw CLI::ValidationError(
          "--chip, --model, --board, --rom and --fault describe the virtual tester's board; add --tester "
          "virtual");
  });
}

std::optional<tester::TesterKind> chosenTester(const TesterOptions& options, std::string& error) {
  if (!options.tester.empty()) return tester::testerKindFromName(options.tester);
  return tester::chosenTesterKind(error);
}

std::unique_ptr<TesterConnection> connectTester(const TesterOptions& options, Operator& op) {
  std::string error;
  const auto kind = chosenTester(options, error);
  if (!kind) {
    op.message(error, Icon::Error);
    return nullptr;
  }
  if (*kind == tester::TesterKind::Virtual) {
    // The library reads its board from the environment when the device is first opened.
    if (!options.board.empty()) setVariable("QEL_BOARD", options.board);
    // The command line's chip or model replaces whichever the environment named.
    if (!options.chip.empty()) {
      setVariable("QEL_CHIP", options.chip);
      setVariable("QEL_MODEL", "");
    }
    if (!options.model.empty()) setVariable("QEL_MODEL", options.model);
    if (!options.rom.empty()) setVariable("QEL_ROM", options.rom);
    if (!options.faults.empty()) {
      // Faults of the board file and of the environment come first; the command line adds to them.
      const char* earlier = std::getenv("QEL_FAULTS");
      std::string all = earlier != nullptr && *earlier != 0 ? std::string(earlier) + ";" : std::string();
      setVariable("QEL_FAULTS", all + joinFaults(options.faults));
    }
    virt::BoardConfig config;
    if (auto e = virt::configFromEnvironment(config)) error = *e;
    if (error.empty()) virt::Board::create(config, error);
    if (!error.empty()) {
      op.message("Виртуальный тестер: " + error, Icon::Error);
      return nullptr;
    }
  }
  std::string failure;
  auto c = tester::bindTester(*kind, failure);
  if (!c) op.message(tester::bindingFailureMessage(failure), Icon::Error);
  return c;
}

}  // namespace qel::cli
