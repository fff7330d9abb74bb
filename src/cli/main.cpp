// qel: the command line of the tester. Each command lives in its own file and registers itself
// (cli/command.h); this file builds the parser from them and keeps the tool's manners: help per
// command, --version, exit status 2 for anything it cannot parse.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/completion.h"
#include "cli/output.h"

namespace {

using qel::cli::Runner;

constexpr const char* kExitStatus =
    "Exit status: 0 success, 1 the files or the chip have faults, 2 the command could not be carried out "
    "(a usage error among them).";

struct Parser {
  CLI::App app{"qel - command-line tool of the QEL in-circuit chip tester", "qel"};
  std::vector<std::pair<CLI::App*, Runner>> commands;
  bool bashCompletion = false;

  Parser() {
    // On Windows too an argument that starts with '/' is a path, not an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("qel ") + qel::cli::toolVersion());
    app.set_help_all_flag("--help-all", "every command with its options");
    app.add_flag("--bash-completion", bashCompletion, "print the bash completion script")->group("");
    app.footer(std::string("Run 'qel COMMAND --help' for a command's options.\n") + kExitStatus);
    app.require_subcommand(0, 1);
    for (const auto* c : qel::cli::registeredCommands()) {
      CLI::App* sub = app.add_subcommand(c->name, c->description);
      sub->group(c->group);
      commands.emplace_back(sub, c->define(*sub));
    }
  }

  bool isCommand(const std::string& name) const {
    for (const auto& [sub, run] : commands)
      if (sub->get_name() == name) return true;
    return false;
  }

  // The help of the whole tool, or of one command.
  void printHelp(std::FILE* out, const std::string& command = {}) {
    CLI::App* which = command.empty() ? &app : app.get_subcommand(command);
    const std::string text = which->help();
    std::fwrite(text.data(), 1, text.size(), out);
  }
};

int parseError(Parser& p, const CLI::ParseError& e) {
  // --help and --version end the parse as errors of status 0, with their text for standard output.
  if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return p.app.exit(e);
  std::string where = "qel";
  for (const CLI::App* sub : p.app.get_subcommands()) where += " " + sub->get_name();
  std::fprintf(stderr, "%s: %s\nsee '%s --help'\n", where.c_str(), e.what(), where.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qel::cli::setUpConsole();
  Parser p;
  std::vector<std::string> all = qel::cli::utf8Arguments(argc, argv);
  std::vector<char*> utf8Argv;
  for (auto& a : all) utf8Argv.push_back(a.data());
  utf8Argv.push_back(nullptr);
  argc = int(all.size());
  argv = utf8Argv.data();
  std::vector<std::string> args(all.begin() + (all.empty() ? 0 : 1), all.end());
  if (args.empty()) {
    p.printHelp(stderr);
    return 2;
  }
  // 'qel help' and 'qel help COMMAND', as other tools of the trade take them.
  if (args[0] == "help") {
    if (args.size() > 1 && !p.isCommand(args[1])) {
      std::fprintf(stderr, "qel: unknown command '%s'; see 'qel --help'\n", args[1].c_str());
      return 2;
    }
    p.printHelp(stdout, args.size() > 1 ? args[1] : std::string());
    return 0;
  }
  if (!args[0].starts_with("-") && !p.isCommand(args[0])) {
    std::fprintf(stderr, "qel: unknown command '%s'; see 'qel --help'\n", args[0].c_str());
    return 2;
  }
  try {
    p.app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return parseError(p, e);
  }
  if (p.bashCompletion) {
    const std::string script = qel::cli::bashCompletion(p.app);
    std::fwrite(script.data(), 1, script.size(), stdout);
    return 0;
  }
  for (const auto& [sub, run] : p.commands) {
    if (!sub->parsed()) continue;
    // The last resort: whatever a command did not foresee ends it with a message, not an abort.
    try {
      return run();
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "qel: out of memory\n");
    } catch (const std::exception& e) {
      std::fprintf(stderr, "qel: internal error: %s\n", e.what());
    }
    return 2;
  }
  p.printHelp(stderr);
  return 2;
}
