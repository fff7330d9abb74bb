// Any bytes as a ROM data file, read from disk for a ROM template of any address range and by
// the virtual tester's EPROM: neither may read past the file or the range, whatever their lengths.

#include <cstddef>
#include <cstdint>
#include <string>

#include "algorithms/expansion.h"
#include "algorithms/rom_data_file.h"
#include "algorithms/rom_data_save.h"
#include "scratch_file.h"
#include "testfile/file_lines.h"
#include "testfile/reader.h"
#include "virtual/board_config.h"
#include "virtual/virtual_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The template's address range: addresses 0..255, either way round, so a run stays short.
  const int start = data[0], final = data[1];
  const std::string path = qel::fuzzing::writeScratchFile("rom.dat", data + 2, size - 2);
  if (path.empty()) return 0;

  // The example template, parsed afresh and expanded over the fuzzer's range.
  static const std::string rom = qel::testfile::readFileLines(QEL_EXAMPLES_DIR "/eprom2716_rom.qel").data;
  qel::TestDescription test;
  qel::SilentOperator op;
  const auto parsed = qel::testfile::parseTest(qel::testfile::splitFileLines(rom), test, op);
  if (parsed.packageOk && !parsed.formatError) {
    test.algorithms.rom.startAddress = start;
    test.algorithms.rom.finalAddress = final;
    qel::algorithms::ExpansionOptions options;
    options.romDataFile = path;
    qel::algorithms::expandLoaded(test, op, options);
    test.clearResults();
    (void)qel::algorithms::romReadoutFromResult(test);
  }

  qel::virt::BoardConfig board;
  board.chip = "2716";
  board.romFile = path;
  qel::tester::ManualClock clock;
  std::string error;
  (void)qel::virt::VirtualSession::create(board, clock, error);
  return 0;
}
