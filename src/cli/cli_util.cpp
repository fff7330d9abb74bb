#include "cli/cli_util.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "text/radix.h"

namespace qel::cli {

std::optional<CycleRange> parseCycleRange(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  CycleRange r;
  const std::string a = text.substr(0, colon), b = text.substr(colon + 1);
  if (!a.empty()) {
    auto v = text::parseDecimal(a);
    if (!v || *v < 1) return std::nullopt;
    r.from = *v;
  }
  if (!b.empty()) {
    auto v = text::parseDecimal(b);
    if (!v || *v < r.from) return std::nullopt;
    r.to = *v;
  }
  return r;
}

void addCycleRangeOption(CLI::App& command, CycleRange& range) {
  command
      .add_option_function<std::string>(
          "--cycles",
          [&range](const std::string& text) {
            const auto r = parseCycleRange(text);
            if (!r) throw CLI::ValidationError("--cycles takes FROM:TO, not '" + text + "'");
            range = *r;
          },
          "the cycles FROM:TO (either side may be left out)")
      ->type_name("FROM:TO");
}

std::pair<int, int> clampRange(const CycleRange& range, int cycleCount, int defaultCount) {
  const int from = std::max(1, range.from);
  // A range starting near the top of int must not wrap past it.
  const int64_t to =
      range.to > 0 ? range.to : (defaultCount > 0 ? int64_t(from) + defaultCount - 1 : cycleCount);
  return {from, int(std::min<int64_t>(to, cycleCount))};
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "qel: %s; see 'qel --help'\n", message.c_str());
  return 2;
}

}  // namespace qel::cli
