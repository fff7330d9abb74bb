#include "exports/vector_library.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace qel::exports {

namespace {

constexpr int kDipPins[] = {8, 14, 16, 18, 20, 24, 28, 32, 40};

struct PinUse {
  bool driven = false, expected = false, ground = false, supply = false, other = false;
};

std::string chipLabel(const LibraryChip& chip) {
  return "chip " + (chip.name.empty() ? std::string("(no name)") : chip.name);
}

bool validSymbol(char c) {
  return std::string_view("01LHZXCGV").find(c) != std::string_view::npos;
}

// "5V", "5", "5.0 V" and the like.
bool fiveVolts(std::string v) {
  v.erase(std::remove_if(v.begin(), v.end(), [](char c) { return c == ' '; }), v.end());
  if (!v.empty() && (v.back() == 'V' || v.back() == 'v')) v.pop_back();
  return v == "5" || v == "5.0" || v == "5.00";
}

}  // namespace

ConvertedChip convertChip(const LibraryChip& chip) {
  ConvertedChip out;
  const std::string label = chipLabel(chip);
  auto refuse = [&](const std::string& why) {
    out.reason = label + ": " + why;
    return std::move(out);
  };
  int pins = 0;
  const auto parsed = std::from_chars(chip.pins.data(), chip.pins.data() + chip.pins.size(), pins);
  if (chip.pins.empty() || parsed.ec != std::errc() || parsed.ptr != chip.pins.data() + chip.pins.size())
    return refuse("pins=\"" + chip.pins + "\" is not a pin count");
  if (pins > 40) return refuse(std::to_string(pins) + " pins, more than the tester's 40");
  if (std::find(std::begin(kDipPins), std::end(kDipPins), pins) == std::end(kDipPins))
    return refuse("no DIP package of " + std::to_string(pins) + " pins");
  if (!chip.voltage.empty() && !fiveVolts(chip.voltage))
    return refuse("supply " + chip.voltage + "; the tester supplies 5 V");
  if (chip.vectors.empty()) return refuse("no vectors");

  // Every vector as one upper-case symbol per pin.
  std::vector<std::string> rows;
  std::vector<PinUse> use(size_t(pins) + 1);
  for (const auto& v : chip.vectors) {
    std::istringstream words(v.symbols);
    std::string row, word;
    while (words >> word) {
      if (word.size() != 1) return refuse("vector " + v.id + ": \"" + word + "\" is not one symbol");
      const char c = char(std::toupper(static_cast<unsigned char>(word[0])));
      if (!validSymbol(c))
        return refuse("vector " + v.id + ": symbol \"" + word + "\" at pin " +
                      std::to_string(row.size() + 1) + " is none of 0 1 L H Z X C G V");
      row += c;
    }
    if (int(row.size()) != pins)
      return refuse("vector " + v.id + ": " + std::to_string(row.size()) + " symbols for " +
                    std::to_string(pins) + " pins");
    for (int p = 1; p <= pins; ++p) {
      PinUse& u = use[size_t(p)];
      switch (row[size_t(p - 1)]) {
        case '0':
        case '1':
        case 'C':
          u.driven = true;
          break;
        case 'L':
        case 'H':
        case 'Z':
          u.expected = true;
          break;
        case 'G':
          u.ground = true;
          break;
        case 'V':
          u.supply = true;
          break;
        default:
          u.other = true;  // X
      }
    }
    rows.push_back(std::move(row));
  }

  // The tester powers a DIP at its corners: ground at pin N/2, supply at pin N.
  const int groundPin = pins / 2, supplyPin = pins;
  for (int p = 1; p <= pins; ++p) {
    const PinUse& u = use[size_t(p)];
    if ((u.ground && p != groundPin) || (u.supply && p != supplyPin))
      return refuse(std::string(u.ground ? "ground" : "supply") + " on pin " + std::to_string(p) +
                    ", not the package's corner pin " + std::to_string(u.ground ? groundPin : supplyPin));
    if ((u.ground || u.supply) && (u.driven || u.expected || u.other))
      return refuse("pin " + std::to_string(p) + " is " + (u.ground ? "ground" : "supply") +
                    " in some vectors only");
  }
  if (!use[size_t(groundPin)].ground || !use[size_t(supplyPin)].supply)
    return refuse("no ground on pin " + std::to_string(groundPin) + " or no supply on pin " +
                  std::to_string(supplyPin));

  TestDescription& t = out.test;
  t.reset();
  t.pinCount = pins;
  t.testNames[1] = chip.name;
  int row = 0;
  for (int p = 1; p <= pins; ++p) {
    const PinUse& u = use[size_t(p)];
    t.pins[size_t(p)].typeText = u.ground                 ? "GND"
                                 : u.supply               ? "VCC"
                                 : u.driven && u.expected ? "I/O"
                                 : u.driven               ? "I"
                                                          : "O";
    if (!t.isPassive(p)) t.rows[size_t(++row)] = {p, 1};
  }
  for (int p = 1; p <= pins; ++p)
    if (t.isPassive(p)) t.rows[size_t(++row)] = {p, 1};
  t.computeTypeCodes();

  int cycles = 0;
  for (const auto& r : rows) cycles += r.find('C') == std::string::npos ? 1 : 3;
  t.setCycleCount(cycles);
  int c = 0, highImpedance = 0;
  for (const auto& r : rows) {
    const int steps = r.find('C') == std::string::npos ? 1 : 3;
    for (int step = 1; step <= steps; ++step) {
      ++c;
      const bool checked = step == steps;  // after the clock pulse
      for (int p = 1; p <= pins; ++p) {
        uint8_t level = kDontCare;
        bool read = false;
        switch (r[size_t(p - 1)]) {
          case '0':
            level = kLow;
            break;
          case '1':
            level = kHigh;
            break;
          case 'C':
            level = step == 2 ? kHigh : kLow;
            break;
          case 'L':
          case 'H':
            read = true;
            if (checked) level = r[size_t(p - 1)] == 'H' ? kHigh : kLow;
            break;
          case 'Z':
            read = true;
            highImpedance += checked;
            break;
          default:
            read = t.pinTypeCodeOf(p) != kInput;
        }
        if (t.isPassive(p)) continue;
        t.setLevel(p, c, level);
        t.setRead(p, c, read);
      }
    }
  }
  if (highImpedance > 0)
    out.notes.push_back(label + ": " + std::to_string(highImpedance) +
                        " expected high impedance (Z) not checked; the tester reads levels only");
  t.loaded = true;
  return out;
}

}  // namespace qel::exports
