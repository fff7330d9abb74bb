#include <algorithm>
#include <array>
#include <utility>

#include "tester/tester_link.h"

namespace qel::tester {

namespace {

// The last kilobyte of a block's answers is waited for finely, so the block ends as soon as it
// is read; before that, more is always on its way.
constexpr int kAnswerTailPairs = 256;

void buildImageBytes(BlockImage& image) {
  image.bytes.resize(kImageSize);
  uint8_t* out = image.bytes.data();
  for (int bank = 0; bank < kBanks; ++bank)
    for (int i = 0; i < kMaxBlockCycles; ++i) {
      const uint16_t s = image.stimulus[size_t(bank)][size_t(i)];
      const auto off = uint16_t(~image.driveMask[size_t(bank)][size_t(i)]);
      *out++ = uint8_t(s >> 8);
      *out++ = uint8_t(s);
      *out++ = uint8_t(off >> 8);
      *out++ = uint8_t(off);
    }
}

}  // namespace

int composeBlockImage(const LinkState& state, std::span<const uint8_t> blockData, BlockImage& image) {
  for (auto& bank : image.stimulus) bank.fill(0);
  for (auto& bank : image.driveMask) bank.fill(0);
  int pins = state.pinCount;
  int cycles = state.blockCycles;
  if (pins <= 0) {
    buildImageBytes(image);
    return 0;
  }
  cycles = std::min<int>(cycles, int(blockData.size() / size_t(pins)));
  std::array<size_t, kMapPins> bankOf{};
  std::array<uint16_t, kMapPins> bitOf{};
  for (int k = 0; k < pins && k < kMapPins; ++k) {
    const int n = channelOf(state.packageIndex, k);
    bankOf[size_t(k)] = size_t(n / kBankChannels);
    bitOf[size_t(k)] = uint16_t(1u << (n % kBankChannels));
  }
  pins = std::min(pins, kMapPins);
  const auto rowLength = size_t(state.pinCount);
  for (int i = 0; i < cycles; ++i) {
    const uint8_t* row = blockData.data() + size_t(i) * rowLength;
    for (int k = 0; k < pins; ++k) {
      const size_t bank = bankOf[size_t(k)];
      const uint16_t bit = bitOf[size_t(k)];
      const uint8_t v = row[k];
      if (v != 2) {
        image.driveMask[bank][size_t(i)] |= bit;
        if (v == 1) image.stimulus[bank][size_t(i)] |= bit;
      } else if (i >= 1) {
        // The undriven channel keeps the previous level in its stimulus bit.
        const uint8_t previous = (row - rowLength)[k];
        if (previous == 1) image.stimulus[bank][size_t(i)] |= bit;
      }
    }
  }
  buildImageBytes(image);
  return cycles;
}

bool TesterLink::runImage(std::span<uint8_t> result) {
  const int pins = state_.pinCount;
  const int cycles = state_.blockCycles;
  const size_t used = std::min(result.size(), size_t(pins) * size_t(cycles));
  std::fill_n(result.begin(), used, uint8_t(0));
  port_.purgePort();
  if (sendCode(kRunImage)) return true;
  // A link that never composed sends the empty image.
  if (image_->bytes.size() != kImageSize) buildImageBytes(*image_);
  port_.writeBytes(image_->bytes.data(), image_->bytes.size());
  if (waitAck()) return true;
  for (int bank = 0; bank < kBanks; ++bank) {
    // The channels of this bank that carry a pin.
    std::array<std::pair<int, size_t>, kBankChannels> carried{};
    size_t count = 0;
    for (int c = 0; c < kBankChannels; ++c)
      if (const int pin = state_.channelPin[size_t(bank * kBankChannels + c)]; pin != 0)
        carried[count++] = {c, size_t(pin - 1)};
    for (int j = 0; j < cycles; ++j) {
      uint16_t first = 0, second = 0;
      const int pairsLeft = (kBanks - 1 - bank) * cycles + (cycles - j);
      if (readWordPair(first, second, pairsLeft > kAnswerTailPairs)) return true;
      const size_t rowStart = size_t(pins) * size_t(j);
      for (size_t i = 0; i < count; ++i) {
        const size_t at = carried[i].second + rowStart;
        if (at < result.size()) result[at] = sampleCode(first, second, carried[i].first);
      }
    }
  }
  return false;
}

bool TesterLink::runImageRaw(RawGrid& grid) {
  if (sendCode(kRunImage)) return true;
  for (int bank = 0; bank < kBanks; ++bank)
    for (int i = 0; i < kMaxBlockCycles; ++i)
      if (writeWordPair(stimulus(bank, i), uint16_t(~driveMask(bank, i)))) return true;
  if (waitAck()) return true;
  for (int bank = 0; bank < kBanks; ++bank)
    for (int i = 0; i + 3 <= state_.blockCycles; ++i) {
      uint16_t w[4];
      if (readWordPair(w[0], w[1]) || readWordPair(w[2], w[3])) return true;
      for (int c = 0; c < kBankChannels; ++c)
        for (int q = 0; q < 4; ++q) {
          const int column = 4 * i + 1 + q;
          if (column < RawGrid::kColumnCount)
            grid.at(bank * kBankChannels + c + 1, column) = (w[q] >> c) & 1u ? '1' : '0';
        }
    }
  return false;
}

}  // namespace qel::tester
