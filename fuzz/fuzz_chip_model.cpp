// Any bytes as a chip model: the parser must refuse what it does not understand with a line and a
// reason, and a model it accepts must settle on the board and run a block, whatever its equations.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "virtual/block_run.h"
#include "virtual/board.h"
#include "virtual/chip_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qel::virt::ModelParse parse = qel::virt::parseChipModel(text);
  if (!parse.model) {
    // A refusal names a line of the text (or the one after its end) and says why.
    const auto lines = size_t(std::count(text.begin(), text.end(), '\n'));
    if (parse.line < 1 || size_t(parse.line) > lines + 1 || parse.reason.empty()) std::abort();
    return 0;
  }
  qel::virt::BoardConfig config;
  config.model = parse.model;
  std::string error;
  const auto board = qel::virt::Board::create(config, error);
  if (!board) return 0;
  board->setPower(true);
  // Rows from the text's own bytes: every pin driven low, high or left, cycle after cycle.
  const int pins = board->pinCount();
  constexpr int kCycles = 16;
  std::vector<uint8_t> rows(size_t(pins) * kCycles), codes(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(size > 0 ? data[(i * 7) % size] % 3 : 2);
  qel::virt::runBlockOnBoard(*board, pins, rows.data(), kCycles, codes.data());
  for (uint8_t c : codes)
    if (c != 1 && c != 2 && c != 4) std::abort();
  return 0;
}
