#pragma once
// The qel commands. Each takes its arguments after the command name and returns the exit status.

#include <span>
#include <string>
#include <string_view>

namespace qel::cli {

using Args = std::span<const std::string>;

struct Command {
  std::string_view name;
  std::string_view usage;  // one or more lines for qel --help
  int (*run)(Args args);
};

int runCheck(Args args);
int runDump(Args args);
int runShow(Args args);
int runProbe(Args args);
int runRun(Args args);
int runContact(Args args);
int runDiag(Args args);
int runAnalyse(Args args);
int runExpand(Args args);

}  // namespace qel::cli
