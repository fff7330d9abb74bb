#include "cli/command.h"

#include <algorithm>
#include <deque>

namespace qel::cli {

namespace {
// A deque keeps the entries where they are as others are added.
std::deque<CommandInfo>& registry() {
  static std::deque<CommandInfo> commands;
  return commands;
}
}  // namespace

bool registerCommand(CommandInfo info) {
  registry().push_back(std::move(info));
  return true;
}

std::vector<const CommandInfo*> registeredCommands() {
  std::vector<const CommandInfo*> out;
  for (const auto& c : registry()) out.push_back(&c);
  std::sort(out.begin(), out.end(), [](const CommandInfo* a, const CommandInfo* b) {
    return a->group != b->group ? a->group < b->group : a->name < b->name;
  });
  return out;
}

}  // namespace qel::cli
