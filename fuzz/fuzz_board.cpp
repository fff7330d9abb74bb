// Any bytes as a board file of the virtual tester and as a list of fault specs: the parsers must
// refuse what they do not understand, and a board they accept must answer the contact test's
// commands and a block through the link without crashing, whatever its faults, pacing and latency.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tester/clock.h"
#include "tester/initialise.h"
#include "tester/port.h"
#include "tester/tester_link.h"
#include "virtual/board_config.h"
#include "virtual/virtual_session.h"

namespace {

// A short session on the board: initialisation, the snapshots, the jumper scan and one block.
void exercise(const qel::virt::BoardConfig& config) {
  qel::tester::ManualClock clock;
  std::string error;
  auto session = qel::virt::VirtualSession::create(config, clock, error);
  if (!session) return;
  qel::tester::Port port(session->driver(), clock);
  qel::tester::TesterLink link(port, clock);
  const int pins = session->board().chip().pinCount();
  std::vector<int32_t> types(size_t(pins), 1);
  qel::tester::TestParameters p;
  p.pinCount = pins;
  p.pinTypeCodes = types;
  p.cycleCount = 16;
  if (link.checkPresence() || link.resetTester()) return;
  link.setTestParameters(p);
  link.powerOn();
  std::vector<int32_t> values(size_t(pins), 0);
  link.readLevels(values);
  link.readLogic(values);
  link.scanJumpers(values);
  std::vector<uint8_t> block(size_t(pins) * 16);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7 % 3);
  link.composeImage(block);
  std::vector<uint8_t> result(block.size(), 5);
  link.runImage(result);
  link.powerOff();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qel::virt::BoardConfig board;
  // The board file sits in an empty folder: a relative ROM name finds nothing there, and an empty
  // one would name the folder itself.
  static const std::string folder = [] {
    const std::string f = "/tmp/qel-fuzz-" + std::to_string(getpid()) + "-board";
    std::filesystem::create_directories(f);
    return f;
  }();
  if (!qel::virt::parseBoardText(board, text, folder + "/fuzz.board")) exercise(board);
  qel::virt::BoardConfig specs;
  if (!qel::virt::applySpecs(specs, text)) exercise(specs);
  return 0;
}
