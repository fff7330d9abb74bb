#include "coverage/pin_activity.h"

namespace qel::coverage {

uint8_t definedLevel(const TestDescription& t, int pin, int cycle) {
  const int32_t type = t.pinTypeCodeOf(pin);
  if (type != kInput && type != kOutput && type != kInOut) return kDontCare;
  return t.level(pin, cycle);
}

std::vector<PinActivity> pinActivity(const TestDescription& t) {
  std::vector<PinActivity> out(size_t(std::max(t.pinCount, 0)) + 1);
  for (int p = 1; p <= t.pinCount; ++p) {
    PinActivity& a = out[size_t(p)];
    a.type = t.pinTypeCodeOf(p);
    if (a.type != kInput && a.type != kOutput && a.type != kInOut) continue;
    for (int c = 1; c <= t.cycleCount; ++c) {
      const uint8_t l = t.level(p, c);
      if (l > 1) continue;
      const bool read = a.type == kOutput || (a.type == kInOut && t.isRead(p, c));
      (read ? a.expected : a.driven)[l] = true;
      if (a.driven[0] && a.driven[1] && a.expected[0] && a.expected[1]) break;
    }
  }
  return out;
}

std::string pinCaption(const TestDescription& t, int pin) {
  const int32_t type = t.pinTypeCodeOf(pin);
  std::string text = type == kInput ? "вход " : type == kInOut ? "вывод I/O " : "выход ";
  text += std::to_string(pin);
  const std::string& name = pin >= 1 && pin < kPinRecords ? t.pins[size_t(pin)].name : std::string();
  if (!name.empty()) text += " (" + name + ")";
  return text;
}

}  // namespace qel::coverage
