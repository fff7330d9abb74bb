#pragma once
// What the contact test found on each pin: the package view draws it, the diagram marks it, and
// the full test leaves undriven what it says cannot be driven.

#include <array>
#include <cstdint>
#include <string>

#include "model/test_description.h"

namespace qel {

struct ContactRecord {
  std::string name;
  std::string typeText;       // "F" is kept as "O"
  int32_t group = 0;          // jumper group, 0 = not wired to another pin
  std::string mark = "-";     // "L", "H", "G", "Z", "-", or "!L" / "!H" for a pin that cannot be moved
  int32_t level = 0;          // 0..255 from the last level snapshot
  bool notConnected = false;  // drawn as "!N"; no run sets it
};

inline constexpr int kContactRecords = 99;
// Entry k belongs to pin k+1.
using ContactRecords = std::array<ContactRecord, kContactRecords>;

// The record of a pin before anything is measured: its name and type copied from the test.
ContactRecord freshContactRecord(const TestDescription& test, int pin);
// Fresh records for the pins of a test, at the start of every run.
void resetContactRecords(ContactRecords& records, const TestDescription& test);
// The record of pin 1..99; null for any other.
inline const ContactRecord* contactOfPin(const ContactRecords& records, int pin) {
  return pin >= 1 && pin <= kContactRecords ? &records[size_t(pin - 1)] : nullptr;
}

}  // namespace qel
