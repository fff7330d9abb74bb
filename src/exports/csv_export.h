#pragma once
// The table's rows and the per-pin levels as CSV (RFC 4180, UTF-8 with a byte order mark so that
// a spreadsheet takes the Cyrillic names), streamed like the dump.

#include <string>

#include "fileio/safe_save.h"
#include "model/test_description.h"

namespace qel::exports {

// One row per table row: cycle, word, its value by the reference and by the result in the test's
// radix, and 1 where a defined reference value differs from the result's.
std::string writeTableCsv(const TestDescription& test, const fileio::ChunkWriter& write);

// One row per cycle: per pin its expected and measured level (0, 1, x, z as in the dump), then
// whether the cycle is an error and the pins that disagree.
std::string writeLevelsCsv(const TestDescription& test, const fileio::ChunkWriter& write);

}  // namespace qel::exports
