#pragma once
// What the contact test found on each pin.

#include <array>
#include <cstdint>
#include <string>

#include "model/test_description.h"

namespace qel::engine {

struct ContactRecord {
  std::string name;
  std::string typeText;    // "F" is kept as "O"
  int32_t group = 0;       // jumper group, 0 = not wired to another pin
  std::string mark = "-";  // "L", "H", "G", "Z", "-", or "!L" / "!H" for a pin that cannot be moved
  int32_t level = 0;       // 0..255 from the last level snapshot
};

inline constexpr int kContactRecords = 99;
// Entry k belongs to pin k+1.
using ContactRecords = std::array<ContactRecord, kContactRecords>;

// Fresh records for the pins of a test, at the start of every run.
void resetContactRecords(ContactRecords& records, const TestDescription& test);

// Letter of a logic snapshot code.
const char* logicLetter(int32_t code);

}  // namespace qel::engine
