#pragma once

#include <cstdint>
#include <string_view>

namespace qel {

enum PinTypeCode : int32_t {
  kInput = 1,
  kOutput = 2,
  kInOut = 3,
  kNotConnected = 4,
  kGround = 10,
  kSupply = 15
};

// Code of a PinType text; any text not in the table is an output.
constexpr int32_t pinTypeCode(std::string_view text) {
  if (text == "I") return kInput;
  if (text == "O") return kOutput;
  if (text == "I/O") return kInOut;
  if (text == "NC") return kNotConnected;
  if (text == "GND") return kGround;
  if (text == "VCC") return kSupply;
  return kOutput;
}

constexpr bool isPassiveType(std::string_view text) {
  return text == "NC" || text == "GND" || text == "VCC";
}
constexpr bool isPassiveCode(int32_t code) {
  return code == kNotConnected || code == kGround || code == kSupply;
}

}  // namespace qel
