#pragma once
// The test and its result as a value change dump (IEEE 1364), as waveform viewers read it: a scope
// "reference", one "result" and one "mismatch" with a lane per pin, the error cycles as comments.

#include <string>

#include "fileio/safe_save.h"
#include "model/test_description.h"

namespace qel::exports {

struct ExportHeader {
  std::string date;    // as the export should show it
  std::string tool;    // "qel 0.1.0"
  std::string source;  // the test file
  std::string result;  // where the result came from, empty for none
};

// Streams the dump through write, one chunk at a time. Empty on success, else why it stopped.
std::string writeVcd(const TestDescription& test, const ExportHeader& header,
                     const fileio::ChunkWriter& write);

// Saved as fileio::saveFile saves: a failure leaves the old file whole.
std::string saveVcd(const TestDescription& test, const ExportHeader& header, const std::string& path);

}  // namespace qel::exports
