#pragma once

#include <optional>
#include <string>
#include <utility>

#include "cli/commands.h"

namespace qel::cli {

struct CycleRange {
  int from = 1;
  int to = 0;  // 0: up to the last cycle
};

// "FROM:TO" with either side optional; nullopt when malformed.
std::optional<CycleRange> parseCycleRange(const std::string& text);

// Clamps the range to the test's cycles.
std::pair<int, int> clampRange(const CycleRange& range, int cycleCount, int defaultCount);

int usageError(const std::string& message);

}  // namespace qel::cli
