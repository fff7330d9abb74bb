// qel probe: bind the driver library, run the tester's initialisation and show what happened.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/tester_options.h"
#include "model/test_description.h"
#include "tester/initialise.h"

namespace qel::cli {

namespace {

int probe(const TesterOptions& options) {
  ConsoleOperator op;
  auto connection = connectTester(options, op);
  if (!connection) return 2;

  // The empty test of start-up: 32 input pins.
  TestDescription test;
  test.resetForStartup();
  test.computeTypeCodes();
  test.cycleCount = 100;
  const tester::InitOutcome outcome = tester::initialiseTester(*connection->link, op, test, {});

  std::printf("Лог порта:\n");
  for (const auto& line : connection->port->log().lines()) std::printf("  %s\n", line.c_str());
  connection->link->closeConnection();
  switch (outcome) {
    case tester::InitOutcome::Ok:
      std::printf("Тестер ответил и инициализирован.\n");
      return 0;
    case tester::InitOutcome::NoLink:
    case tester::InitOutcome::PackageRefused:
      return 2;
    default:
      return 1;
  }
}

const bool registered = registerCommand(
    {"probe", kTesterCommands, "bind the driver library, initialise the tester, print the port log",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<TesterOptions>();
       addTesterOptions(command, *o);
       command.footer(
           "Exit status: 0 the tester answered and was initialised, 1 it answered with a fault, 2 no "
           "tester or usage error.");
       return [o] { return probe(*o); };
     }});

}  // namespace

}  // namespace qel::cli
