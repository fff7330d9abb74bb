#pragma once
// Direction bits of whole words at once. The model packs them 51 per cycle (bit = pin + cycle * 51),
// so one 64-bit update sets every pin of a word in a cycle.

#include <bit>
#include <cstdint>
#include <cstring>

#include "model/test_description.h"

namespace qel::algorithms {

// Bit p set for every pin p (1..50) of the mask.
using PinMask = uint64_t;

// Sets (read) or clears (driven) the masked pins in one cycle; false when the storage cannot take
// the 8-byte update there, so the caller falls back to single bits.
inline bool updateDirection(uint8_t* storage, size_t bitCount, int cycle, PinMask mask, bool read) {
  if constexpr (std::endian::native != std::endian::little) return false;
  if (!storage || cycle < 0) return false;
  const size_t bit = size_t(cycle) * kDirectionRow;
  const size_t byte = bit >> 3;
  if (bit + kDirectionRow > bitCount || byte + 8 > (bitCount + 7) / 8) return false;
  uint64_t word;
  std::memcpy(&word, storage + byte, 8);
  const uint64_t shifted = mask << (bit & 7);  // 51 bits + 7 fit in 64
  const uint64_t updated = read ? (word | shifted) : (word & ~shifted);
  // Rows overlap in these 8 bytes: storing only on a change keeps the next load from stalling.
  if (updated != word) std::memcpy(storage + byte, &updated, 8);
  return true;
}

}  // namespace qel::algorithms
