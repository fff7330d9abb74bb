// qel contact: the contact test alone.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/engine_session.h"
#include "cli/output.h"
#include "cli/session_options.h"

namespace qel::cli {

namespace {

int contact(const SessionOptions& options) {
  if (auto e = routeStandardOutput({&options.report})) return usageError("qel contact: " + *e);
  EngineSession s(options);
  if (!s.open()) return 2;
  if (!s.engine->startContactTest()) {
    std::fprintf(stderr, "qel: the contact test did not start\n");
    return 2;
  }
  const engine::Outcome outcome = s.waitForRun().outcome;

  const auto contacts = contactsJson(s.bench);
  std::printf("Вывод  Тип   Уровень  Состояние  Группа\n");
  for (const auto& c : contacts) {
    const int pin = c["pin"];
    std::printf("%5d  %-5s %7d  %-9s  %6d\n", pin, s.bench.contacts[size_t(pin - 1)].typeText.c_str(),
                int(c["level"]), std::string(c["mark"]).c_str(), int(c["group"]));
  }
  // A contact fault is the chip's; a supply the tester did not confirm off makes any outcome a 2.
  const int status = !s.supplyOff()                             ? 2
                     : outcome == engine::Outcome::Finished     ? 0
                     : outcome == engine::Outcome::ContactFault ? 1
                                                                : 2;
  if (status == 2 && outcome != engine::Outcome::ContactFault && outcome != engine::Outcome::Finished)
    std::printf("Тест контактов не завершён: %s\n", engine::outcomeName(outcome));
  if (!options.report.empty()) {
    nlohmann::ordered_json report;
    report["test"] = options.test;
    report["outcome"] = engine::outcomeName(outcome);
    s.reportSupply(report);
    report["contacts"] = contacts;
    if (!writeReport(options.report, report)) return 2;
  }
  return status;
}

const bool registered = registerCommand(
    {"contact", kTesterCommands, "the contact test alone", [](CLI::App& command) -> Runner {
       auto o = std::make_shared<SessionOptions>();
       addSessionOptions(command, *o, {.test = true, .report = true});
       command.footer(
           "Exit status: 0 contact on every pin, 1 a contact fault, 2 not finished or usage error.");
       return [o] { return contact(*o); };
     }});

}  // namespace

}  // namespace qel::cli
