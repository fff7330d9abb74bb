#include <array>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

using qel::cli::Command;

constexpr std::array kCommands = {
    Command{"check",
            "qel check FILE...\n      load each test as the program does; print its messages and a summary",
            qel::cli::runCheck},
    Command{"dump", "qel dump FILE [--cycles FROM:TO]\n      the loaded test as JSON", qel::cli::runDump},
    Command{"show", "qel show FILE [--cycles FROM:TO] [--result]\n      the timing diagram in the terminal",
            qel::cli::runShow},
    Command{"expand",
            "qel expand TEST -o OUT [--data FILE] [--full-ram]\n      a memory template expanded as the "
            "plain vector test it becomes (reference levels)\n      --data: the ROM data file to use; "
            "--full-ram: the full RAM test instead of the compressed one",
            qel::cli::runExpand},
    Command{
        "probe",
        "qel probe [tester options]\n      bind the driver library, initialise the tester, print the port "
        "log and "
        "the messages\n      "
        "tester options: --tester virtual|d2xx (default the vendor's libftd2xx.so, or QEL_TESTER=virtual)\n"
        "        --chip 7400|7474|74161|74245|2716|6116  --board FILE  --rom FILE  --fault SPEC "
        "(repeatable), SPEC\n"
        "        open:PIN stuck0:PIN stuck1:PIN held0:PIN held1:PIN short:PIN,PIN nosupply free absent\n"
        "        silent:N break:N stray:N ramfault channel:N cell:ADDRESS[=VALUE] rombyte:ADDRESS=VALUE\n"
        "        pace:BYTES_PER_SECOND latency:MS (see docs/virtual-tester.md)",
        qel::cli::runProbe},
    Command{
        "run",
        "qel run TEST [tester options] [--report FILE.json] [--save-result OUT.qel] [--yes] [--data FILE] "
        "[--full-ram]\n      contact test, full test and comparison; exit 0 no errors, 1 errors found, 2 not "
        "finished or the supply may still be on (the report's \"supply\")\n      --data, --full-ram: as for "
        "qel expand",
        qel::cli::runRun},
    Command{"contact",
            "qel contact TEST [tester options] [--report FILE.json] [--yes]\n      the contact test alone",
            qel::cli::runContact},
    Command{"diag",
            "qel diag ram|channels [tester options]\n      the tester's RAM test or channel self-test",
            qel::cli::runDiag},
    Command{"analyse",
            "qel analyse TEST --cycles N [tester options] [--report FILE.json]\n      analyser mode: capture "
            "N cycles "
            "(0..8190) with nothing driven",
            qel::cli::runAnalyse},
};

void printHelp(std::FILE* out) {
  std::fprintf(out, "qel - command-line tool of the QEL in-circuit chip tester\n\nUsage:\n");
  for (const auto& c : kCommands) std::fprintf(out, "  %.*s\n", int(c.usage.size()), c.usage.data());
  std::fprintf(out,
               "\nExit status: 0 success, 1 the files or the chip have faults, 2 the command could not be "
               "carried out.\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printHelp(args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  for (const auto& c : kCommands) {
    if (args[0] != c.name) continue;
    // The last resort: whatever a command did not foresee ends it with a message, not an abort.
    try {
      return c.run(qel::cli::Args(args).subspan(1));
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "qel: out of memory\n");
    } catch (const std::exception& e) {
      std::fprintf(stderr, "qel: internal error: %s\n", e.what());
    }
    return 2;
  }
  std::fprintf(stderr, "qel: unknown command '%s'; see 'qel --help'\n", args[0].c_str());
  return 2;
}
