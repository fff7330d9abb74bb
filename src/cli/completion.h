#pragma once
// The bash completion script, made from the parser itself so it knows every command and option.

#include <string>

namespace CLI {
class App;
}

namespace qel::cli {

std::string bashCompletion(const CLI::App& app);

}  // namespace qel::cli
