#pragma once
// What sits in the clip and what is wrong with it, the tester and the link: built from fault
// specs ("open:3", "short:1,2" ...), a board file and the QEL_* environment variables.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "virtual/chip.h"
#include "virtual/chip_faults.h"
#include "virtual/chip_model.h"

namespace qel::virt {

struct LinkFaults {
  bool absent = false;                  // no tester: opening finds no device
  std::optional<uint64_t> silentAfter;  // bytes delivered before the tester stops answering
  std::optional<uint64_t> breakAfter;   // bytes delivered before the link breaks (driver errors)
  int strayBytes = 0;                   // bytes of 7 sent before every acknowledgement
};

struct BoardConfig {
  std::string chip = "7400";
  std::string modelFile;                   // a chip model in the text format, in place of chip
  std::shared_ptr<const ChipModel> model;  // a parsed model, in place of both
  std::string romFile;                     // ROM data file of a 2716
  double u0 = 1.375;                       // calibration constant of the level scale
  double bytesPerSecond = 0;               // link pacing; 0 = as fast as possible
  int latencyMs = 0;                       // delay before an answer shows in the receive queue

  std::set<int> open, stuck0, stuck1, held0, held1;
  std::vector<std::pair<int, int>> shorts;
  bool clipFree = false;  // nothing in the clip
  bool noSupply = false;
  bool ramFault = false;  // tester memory
  std::set<int> stuckChannels;
  MemoryFaults memory;
  ChipFaults inside;
  LinkFaults link;
};

// One spec; an error text (English, for the command line) when it is not understood.
std::optional<std::string> applySpec(BoardConfig& config, std::string_view spec);
// Specs separated by ';'.
std::optional<std::string> applySpecs(BoardConfig& config, std::string_view specs);
// Board file: one setting per line ("chip 7474", "model my.chip", "rom data.dat", "u0 1.4",
// "pace 1000000", "fault open:3"); '#' starts a comment. Relative model and ROM paths are taken
// from the board file's folder.
std::optional<std::string> loadBoardFile(BoardConfig& config, const std::string& path);
// The same for the file's text; path names it in errors and anchors a relative ROM path.
std::optional<std::string> parseBoardText(BoardConfig& config, std::string_view text,
                                          const std::string& path);
// QEL_BOARD, then QEL_CHIP, QEL_MODEL, QEL_ROM, QEL_U0, QEL_PACE, QEL_FAULTS.
std::optional<std::string> configFromEnvironment(BoardConfig& config);

// The first bytes of the configured ROM data file (none when no file is named); false with the
// reason when it cannot be read.
bool readRomFile(const BoardConfig& config, std::vector<uint8_t>& bytes, std::string& reason);

// The fault specs understood, for help texts.
const char* specHelp();

}  // namespace qel::virt
