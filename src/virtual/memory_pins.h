#pragma once
// The 24-pin 2K x 8 JEDEC layout shared by the 2716 EPROM and the 6116 static RAM.

#include <array>
#include <cstddef>
#include <cstdint>

#include "virtual/logic.h"

namespace qel::virt {

inline constexpr int kMemoryWords = 2048;
// Address bits A0..A10 and data bits D0..D7 by pin.
inline constexpr std::array<size_t, 11> kAddressPins = {8, 7, 6, 5, 4, 3, 2, 1, 23, 22, 19};
inline constexpr std::array<size_t, 8> kDataPins = {9, 10, 11, 13, 14, 15, 16, 17};
inline constexpr size_t kChipSelectPin = 18;  // /CE of the 2716, /CS of the 6116
inline constexpr size_t kOutputEnablePin = 20;
inline constexpr size_t kWriteEnablePin = 21;  // /WE of the 6116; VPP of the 2716

inline int addressOf(const PinBits& in) {
  int a = 0;
  for (size_t bit = 0; bit < kAddressPins.size(); ++bit)
    if (in[kAddressPins[bit]]) a |= 1 << bit;
  return a;
}

inline uint8_t dataOf(const PinBits& in) {
  int d = 0;
  for (size_t bit = 0; bit < kDataPins.size(); ++bit)
    if (in[kDataPins[bit]]) d |= 1 << bit;
  return uint8_t(d);
}

inline void driveData(PinDrives& out, uint8_t value) {
  for (size_t bit = 0; bit < kDataPins.size(); ++bit) out[kDataPins[bit]] = driveOf((value >> bit) & 1u);
}

inline PinRole memoryRole(int pin, bool dataIsInOut) {
  if (pin == 12) return PinRole::Ground;
  if (pin == 24) return PinRole::Supply;
  for (size_t p : kDataPins)
    if (size_t(pin) == p) return dataIsInOut ? PinRole::InOut : PinRole::Output;
  return PinRole::Input;
}

}  // namespace qel::virt
