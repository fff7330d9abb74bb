// qel show: the timing diagram in a terminal, one row a pin.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/output.h"
#include "text/codepage.h"
#include "views/mismatch.h"

namespace qel::cli {

namespace {

constexpr int kDefaultCycles = 80;

const char* levelGlyph(int level) {
  switch (level) {
    case 0:
      return "▁";
    case 1:
      return "▔";
    case 2:
      return "·";
    default:
      return " ";
  }
}

std::string padded(const std::string& utf8, size_t width) {
  std::string s = text::utf8Prefix(utf8, width);
  for (size_t n = text::utf8Length(s); n < width; ++n) s.push_back(' ');
  return s;
}

struct ShowOptions {
  std::string path;
  CycleRange range;
  bool result = false;
};

int show(const ShowOptions& o) {
  ConsoleOperator op(stderr);
  op.printLog = false;
  engine::Bench bench;
  const auto loaded = app::loadTest(bench, o.path, op);
  const auto& t = bench.test;
  if (!t.loaded) return 1;
  const auto [from, to] = clampRange(o.range, t.cycleCount, kDefaultCycles);
  if (from > t.cycleCount)
    return usageError("--cycles starts at " + std::to_string(from) + ", the test has " +
                      std::to_string(t.cycleCount) + " cycles");
  const bool colour = colourWanted();

  std::printf("%s: %s%d, %d cycles, showing %d..%d by the %s\n", o.path.c_str(), t.isSoic ? "SOIC" : "DIP",
              t.pinCount, t.cycleCount, from, to, o.result ? "result" : "reference");
  std::string ruler(18, ' ');
  for (int c = from; c <= to;) {
    if (c == from || c % 10 == 0) {
      const std::string n = std::to_string(c);
      ruler += n;
      c += int(n.size());
    } else {
      ruler.push_back(' ');
      ++c;
    }
  }
  std::printf("%s\n", ruler.c_str());
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    const int pin = slot > 50 ? slot - 50 : slot;
    std::string line = (slot < 10    ? "  "
                        : slot < 100 ? " "
                                     : "") +
                       std::to_string(pin) + " " + padded(t.pins[size_t(pin)].typeText, 4) + " " +
                       padded(t.pins[size_t(pin)].name, 8) + " ";
    int errors = 0;
    for (int c = from; c <= to; ++c) {
      const int level = o.result ? views::resultLevel(t.resultCode(pin, c)) : t.level(slot, c);
      const bool bad = views::isMismatch(
          t, slot, c, o.result ? views::MismatchRule::DiagramResult : views::MismatchRule::DiagramReference);
      if (bad) ++errors;
      if (bad && colour) line += "\x1b[31m";
      line += bad && !colour ? "!" : levelGlyph(level);
      if (bad && colour) line += "\x1b[0m";
    }
    if (errors) line += "  " + std::to_string(errors) + " mismatches";
    std::printf("%s\n", line.c_str());
  }
  return loaded.shown && op.messages().empty() ? 0 : 1;
}

const bool registered = registerCommand(
    {"show", kFileCommands, "the timing diagram in the terminal", [](CLI::App& command) -> Runner {
       auto o = std::make_shared<ShowOptions>();
       command.add_option("FILE", o->path, "the test file")->required()->type_name("");
       addCycleRangeOption(command, o->range);
       command.add_flag("--result", o->result, "the measured result instead of the reference");
       command.footer(
           "Mismatches are red on a terminal, '!' elsewhere or when NO_COLOR is set.\n"
           "Exit status: 0 loaded without a message, 1 otherwise, 2 usage error.");
       return [o] { return show(*o); };
     }});

}  // namespace

}  // namespace qel::cli
