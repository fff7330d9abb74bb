#pragma once
// What a test does with each pin, read from its reference alone: the levels it drives and the
// levels it expects back. Both the lint and the hints for missed faults stand on it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/test_description.h"

namespace qel::coverage {

struct PinActivity {
  int32_t type = kNotConnected;
  std::array<bool, 2> driven{};    // driven low / high in some cycle
  std::array<bool, 2> expected{};  // read back and expected low / high in some cycle
};

// Index = pin, 1..pinCount.
std::vector<PinActivity> pinActivity(const TestDescription& test);

// The level the test gives the pin in the cycle, driven or expected; 2 when it gives none.
uint8_t definedLevel(const TestDescription& test, int pin, int cycle);

// "вход 3 (1B)", "выход 8", as findings and hints name a pin.
std::string pinCaption(const TestDescription& test, int pin);

}  // namespace qel::coverage
