#pragma once

#include <optional>
#include <string>
#include <utility>

namespace CLI {
class App;
}

namespace qel::cli {

struct CycleRange {
  int from = 1;
  int to = 0;  // 0: up to the last cycle
};

// "FROM:TO" with either side optional; nullopt when malformed.
std::optional<CycleRange> parseCycleRange(const std::string& text);

// Declares --cycles FROM:TO on a command, parsed into range.
void addCycleRangeOption(CLI::App& command, CycleRange& range);

// Clamps the range to the test's cycles.
std::pair<int, int> clampRange(const CycleRange& range, int cycleCount, int defaultCount);

// Prints the message and where help is, and returns the usage status, 2.
int usageError(const std::string& message);

}  // namespace qel::cli
