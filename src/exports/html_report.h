#pragma once
// A run as one self-contained HTML file to keep with a repair record or send on: the chip, the
// test, when and on what it ran, the contact findings laid out as the package, the counts, and
// every error cycle with an excerpt of the diagram around it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exports/vcd_export.h"
#include "fileio/safe_save.h"
#include "model/contact_record.h"
#include "model/level_thresholds.h"
#include "model/test_description.h"

namespace qel::exports {

struct RunFacts {
  ExportHeader header;
  std::string tester;    // which tester, and for the virtual one its chip and faults
  std::string outcome;   // how the run ended
  bool compared = true;  // the run got as far as the comparison
  int32_t errorCount = 0, mismatchCount = 0;
  std::vector<int32_t> errorCycles;  // as the run's comparison listed them
  const ContactRecords* contacts = nullptr;
  LevelThresholds thresholds;
};

// Where a picture of the diagram can be drawn (the desktop program's painter), an HTML fragment
// for cycles from..to, e.g. an <img> with its data inline; otherwise the excerpt is a table.
using DiagramPicture = std::function<std::string(int from, int to)>;

inline constexpr int kExcerptCycles = 3;       // either side of an error cycle
inline constexpr size_t kExcerptErrors = 100;  // error cycles shown with an excerpt

std::string writeHtmlReport(const TestDescription& test, const RunFacts& facts, const DiagramPicture& picture,
                            const fileio::ChunkWriter& write);

}  // namespace qel::exports
