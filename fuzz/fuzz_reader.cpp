// Any bytes as a test file on disk: loading (the file read, reader, template expansion, formula
// outputs), then the writer and the comparison must neither crash nor write outside their tables.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/test_loader.h"
#include "scratch_file.h"
#include "testfile/reader.h"
#include "testfile/writer.h"
#include "views/comparison.h"

namespace {

// Every ROM template reads this one data file.
std::string romDataFile() {
  static const std::string path = [] {
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes.push_back(char(i * 37));
    return qel::fuzzing::writeScratchFile("rom.dat", bytes.data(), bytes.size());
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static qel::engine::Bench bench;  // reused, as the program reuses its one test
  qel::app::LoadOptions options;
  options.expansion.romDataFile = romDataFile();
  qel::SilentOperator op;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  auto lines = qel::testfile::splitFileLines(bytes);
  // Keep each run small: the first pass refuses big tests before the loader grows the diagram.
  {
    qel::TestDescription probe;
    const auto outcome = qel::testfile::parseTest(lines, probe, op, {.maxCycles = 20000});
    if (!outcome.packageOk || outcome.formatError) return 0;
    const auto& a = probe.algorithms;
    const int64_t span = int64_t(a.rom.finalAddress) - a.rom.startAddress;
    const int64_t ramSpan = int64_t(a.ram.finalAddress) - a.ram.startAddress;
    if ((a.rom.selected && (span > 4096 || span < -4096)) ||
        (a.ram.selected && (ramSpan > 1024 || ramSpan < -1024)))
      return 0;
    if (a.cyclic.selected && int64_t(a.cyclic.repeatCount) * probe.cycleCount > 200000) return 0;
  }
  // Through the file, as the program reads it.
  const std::string path = qel::fuzzing::writeScratchFile("test.qel", data, size);
  if (path.empty()) return 0;
  qel::app::loadTest(bench, path, op, options);
  if (!bench.test.loaded || bench.test.cycleCount > 2'000'000) return 0;
  qel::views::ErrorList errors;
  qel::views::compareResults(bench.test, errors, op);
  (void)qel::testfile::formatTestFile(bench.test, qel::testfile::WriteSource::Reference);
  return 0;
}
