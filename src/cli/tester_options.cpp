#include "cli/tester_options.h"

#include <cstdlib>

#include "tester/driver_choice.h"
#include "virtual/board.h"
#include "virtual/board_config.h"

#ifndef QEL_VIRTUAL_D2XX_PATH
#define QEL_VIRTUAL_D2XX_PATH "libqel_virtual_d2xx.so"
#endif

namespace qel::cli {

namespace {

std::string joinFaults(const std::vector<std::string>& faults) {
  std::string all;
  for (const auto& f : faults) all += (all.empty() ? "" : ";") + f;
  return all;
}

}  // namespace

std::optional<std::string> parseTesterOptions(Args args, TesterOptions& options,
                                              std::vector<std::string>& rest) {
  bool testerGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) -> std::optional<std::string> {
      if (i + 1 >= args.size()) return a + " needs a value";
      into = args[++i];
      return std::nullopt;
    };
    std::string v;
    if (a == "--tester") {
      if (auto e = value(v)) return e;
      if (v != "virtual" && v != "d2xx") return "--tester takes virtual or d2xx, not '" + v + "'";
      options.useVirtual = v == "virtual";
      testerGiven = true;
    } else if (a == "--chip") {
      if (auto e = value(options.chip)) return e;
    } else if (a == "--board") {
      if (auto e = value(options.board)) return e;
    } else if (a == "--rom") {
      if (auto e = value(options.rom)) return e;
    } else if (a == "--fault") {
      if (auto e = value(v)) return e;
      virt::BoardConfig check;
      if (auto e = virt::applySpec(check, v)) return *e;
      options.faults.push_back(v);
    } else {
      rest.push_back(a);
    }
  }
  if (!testerGiven) options.useVirtual = tester::virtualTesterRequested();
  const bool boardGiven =
      !options.chip.empty() || !options.board.empty() || !options.rom.empty() || !options.faults.empty();
  if (boardGiven && !options.useVirtual)
    return "--chip, --board, --rom and --fault describe the virtual tester's board; add --tester virtual";
  return std::nullopt;
}

std::unique_ptr<TesterConnection> connectTester(const TesterOptions& options, Operator& op) {
  std::string library = tester::driverLibraryName(false);
  if (options.useVirtual) {
    // The library reads its board from the environment when the device is first opened.
    auto set = [](const char* name, const std::string& value) {
      if (!value.empty()) setenv(name, value.c_str(), 1);
    };
    set("QEL_BOARD", options.board);
    set("QEL_CHIP", options.chip);
    set("QEL_ROM", options.rom);
    if (!options.faults.empty()) {
      // Faults of the board file and of the environment come first; the command line adds to them.
      const char* earlier = std::getenv("QEL_FAULTS");
      std::string all = earlier != nullptr && *earlier != 0 ? std::string(earlier) + ";" : std::string();
      setenv("QEL_FAULTS", (all + joinFaults(options.faults)).c_str(), 1);
    }
    virt::BoardConfig config;
    std::string error;
    if (auto e = virt::configFromEnvironment(config)) error = *e;
    if (error.empty()) virt::Board::create(config, error);
    if (!error.empty()) {
      op.message("Виртуальный тестер: " + error, Icon::Error);
      return nullptr;
    }
    library = tester::driverLibraryName(true, QEL_VIRTUAL_D2XX_PATH);
  }
  std::string errorText;
  auto c = tester::bindTester(library, errorText);
  if (!c) op.message(tester::bindingFailureMessage(errorText), Icon::Error);
  return c;
}

}  // namespace qel::cli
