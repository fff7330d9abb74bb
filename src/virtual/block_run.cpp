#include "virtual/block_run.h"

#include <algorithm>
#include <array>

#include "tester/protocol.h"

namespace qel::virt {

void runBlockOnBoard(Board& board, int pinCount, const uint8_t* rows, int cycles, uint8_t* codes) {
  const int row = tester::packageIndexOf(pinCount);
  const int mapped = std::clamp(pinCount, 0, tester::kMapPins);
  std::array<size_t, tester::kMapPins> channel{};
  for (int k = 0; k < mapped; ++k) channel[size_t(k)] = size_t(tester::channelOf(row, k));
  for (int i = 0; i < cycles; ++i) {
    const uint8_t* r = rows + size_t(i) * size_t(pinCount);
    ChannelDrives drive{};
    drive.fill(Drive::None);
    for (int k = 0; k < mapped; ++k)
      if (r[k] <= 1) drive[channel[size_t(k)]] = driveOf(r[k] == 1);
    const ChannelNets nets = board.apply(drive);
    uint8_t* out = codes + size_t(i) * size_t(pinCount);
    std::fill_n(out, pinCount, uint8_t(0));
    for (int k = 0; k < mapped; ++k) {
      const Samples s = samplesOf(nets[channel[size_t(k)]]);
      out[k] = tester::sampleCode(uint16_t(s.first), uint16_t(s.second), 0);
    }
  }
}

}  // namespace qel::virt
