// qel probe: bind the driver library, run the tester's initialisation and show what happened.

#include <cstdio>

#include "cli/cli_util.h"
#include "cli/commands.h"
#include "cli/console_operator.h"
#include "cli/tester_options.h"
#include "model/test_description.h"
#include "tester/initialise.h"

namespace qel::cli {

int runProbe(Args args) {
  TesterOptions options;
  std::vector<std::string> rest;
  if (auto error = parseTesterOptions(args, options, rest)) return usageError(*error);
  if (!rest.empty()) return usageError("qel probe takes only tester options, not '" + rest.front() + "'");

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

}  // namespace qel::cli
