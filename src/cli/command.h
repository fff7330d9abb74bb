#pragma once
// A qel command registers itself from its own file: its name, where it stands in the help, and a
// function that declares its options on its CLI11 subcommand and returns what runs once they
// are parsed. Adding a command is adding its file.

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace qel::cli {

inline constexpr const char* kFileCommands = "Test files";
inline constexpr const char* kTesterCommands = "Tester";

// Runs the parsed command and returns its exit status.
using Runner = std::function<int()>;

struct CommandInfo {
  std::string name;
  std::string group;        // kFileCommands or kTesterCommands
  std::string description;  // the line in qel --help; details go in the subcommand's own help
  std::function<Runner(CLI::App& command)> define;
};

// Call from a namespace-scope initialiser: `const bool registered = registerCommand({...});`.
bool registerCommand(CommandInfo info);

// The registered commands, by group and then by name, so the help does not depend on link order.
std::vector<const CommandInfo*> registeredCommands();

}  // namespace qel::cli
