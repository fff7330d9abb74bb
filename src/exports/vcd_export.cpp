#include "exports/vcd_export.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "exports/chunk_buffer.h"
#include "exports/export_pins.h"
#include "views/cycle_comparison.h"

namespace qel::exports {

namespace {

// Identifier codes: printable characters from '!' on, base 94.
std::string identifier(size_t index) {
  std::string id;
  do {
    id += char('!' + index % 94);
    index /= 94;
  } while (index != 0);
  return id;
}

// Header text must not end its own section early.
std::string headerText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 4, "$end") == 0) {
      out += "$ end";
      i += 3;
    } else {
      out += text[i] == '\n' || text[i] == '\r' ? ' ' : text[i];
    }
  }
  return out;
}

// Blanks end a name in the dump; brackets would read as a bit range.
std::string laneName(const std::string& label) {
  std::string out;
  for (const char c : label) out += static_cast<unsigned char>(c) <= ' ' || c == '[' || c == ']' ? '_' : c;
  return out;
}

struct Lane {
  uint64_t bit;
  std::string id[3];  // reference, result, mismatch
};

}  // namespace

std::string writeVcd(const TestDescription& t, const ExportHeader& header, const fileio::ChunkWriter& write) {
  const std::vector<ExportPin> pins = exportPins(t);
  uint64_t shown = 0;
  std::vector<Lane> lanes;
  for (size_t i = 0; i < pins.size(); ++i) {
    Lane lane{uint64_t(1) << (pins[i].pin - 1), {}};
    for (size_t s = 0; s < 3; ++s) lane.id[s] = identifier(s * pins.size() + i);
    shown |= lane.bit;
    lanes.push_back(std::move(lane));
  }

  // The error cycles go into the header, so they are found before the dump is written; that pass
  // reads the diagrams once more and keeps only the cycle numbers.
  const views::CycleComparison compare(t);
  std::vector<int32_t> errors;
  for (int c = 1; c <= t.cycleCount; ++c)
    if (compare.compare(c).any()) errors.push_back(c);

  const int step = t.cycleTime >= 1 && t.cycleTime <= 8 ? t.cycleTime : 2;
  ChunkBuffer out(write);
  out << "$date\n  " << headerText(header.date) << "\n$end\n";
  out << "$version\n  " << headerText(header.tool) << "\n$end\n";
  out << "$comment\n  Test: " << headerText(header.source) << "\n";
  if (!header.result.empty()) out << "  Result: " << headerText(header.result) << "\n";
  if (!t.chipName.empty()) out << "  Chip: " << headerText(t.chipName) << "\n";
  out << "  " << t.cycleCount << " cycles of " << step << " us; cycle N starts at " << step
      << " * (N - 1) us\n";
  // Every error cycle here, none among the values: PulseView's reader stops at the first
  // keyword it meets after the definitions.
  out << "  Error cycles: " << errors.size();
  for (size_t i = 0; i < errors.size(); ++i)
    out << (i == 0        ? "\n   "
            : i % 10 == 0 ? ",\n   "
                          : ",")
        << ' ' << errors[i] << " (#" << int64_t(errors[i] - 1) * step << ')';
  out << "\n$end\n";
  // Only 1, 10 and 100 may stand before the unit, so a cycle of 2 us is two units.
  out << "$timescale 1 us $end\n";
  static const char* const kScopes[3] = {"reference", "result", "mismatch"};
  for (size_t s = 0; s < 3; ++s) {
    out << "$scope module " << kScopes[s] << " $end\n";
    for (size_t i = 0; i < pins.size(); ++i)
      out << "$var wire 1 " << lanes[i].id[s] << ' ' << laneName(pins[i].label) << " $end\n";
    out << "$upscope $end\n";
  }
  out << "$enddefinitions $end\n";

  CycleLevels previous;
  uint64_t previousMismatch = 0;
  size_t nextError = 0;
  for (int c = 1; c <= t.cycleCount; ++c) {
    const CycleLevels l = cycleLevels(t, c, shown);
    const bool isError = nextError < errors.size() && errors[nextError] == c;
    const uint64_t mismatch = isError ? compare.compare(c).pins & shown : 0;
    const bool first = c == 1;
    // Pins whose lane changes in this cycle.
    const uint64_t expectChanged = (l.expectHigh ^ previous.expectHigh) | (l.expectAny ^ previous.expectAny);
    const uint64_t readChanged = (l.readLow ^ previous.readLow) | (l.readHigh ^ previous.readHigh) |
                                 (l.readOther ^ previous.readOther);
    const uint64_t mismatchChanged = mismatch ^ previousMismatch;
    if (isError) ++nextError;
    if (first || expectChanged || readChanged || mismatchChanged) {
      out << '#' << (int64_t(c - 1) * step) << '\n';
      if (first) out << "$dumpvars\n";
      for (const Lane& lane : lanes) {
        if (first || (expectChanged & lane.bit)) out << expectedChar(l, lane.bit) << lane.id[0] << '\n';
        if (first || (readChanged & lane.bit)) out << measuredChar(l, lane.bit) << lane.id[1] << '\n';
        if (first || (mismatchChanged & lane.bit))
          out << ((mismatch & lane.bit) ? '1' : '0') << lane.id[2] << '\n';
      }
      if (first) out << "$end\n";
    }
    previous = l;
    previousMismatch = mismatch;
    if (out.failed()) break;
  }
  out << '#' << (int64_t(t.cycleCount) * step) << '\n';
  return out.flush() ? std::string() : std::string("write failed");
}

std::string saveVcd(const TestDescription& test, const ExportHeader& header, const std::string& path) {
  return fileio::saveFileStreamed(
      path, [&](const fileio::ChunkWriter& write) { return writeVcd(test, header, write); });
}

}  // namespace qel::exports
