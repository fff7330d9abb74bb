#include "coverage/fault_hints.h"

#include "coverage/fault_list.h"

namespace qel::coverage {

namespace {

std::string n(int v) {
  return std::to_string(v);
}

bool everDiffer(const TestDescription& t, int a, int b) {
  for (int c = 1; c <= t.cycleCount; ++c) {
    const uint8_t la = definedLevel(t, a, c), lb = definedLevel(t, b, c);
    if (la <= 1 && lb <= 1 && la != lb) return true;
  }
  return false;
}

}  // namespace

std::string missedFaultHint(const TestDescription& t, const std::vector<PinActivity>& activity,
                            std::string_view fault) {
  const std::string_view kind = fault.substr(0, fault.find(':'));
  const std::vector<int> v = faultNumbers(fault);
  if (v.empty()) return {};
  const int pin = v[0];
  const bool known = pin >= 1 && size_t(pin) < activity.size();
  if (kind == "in0" || kind == "in1") {
    // A stuck input shows only where the pin carries the other level.
    const int level = kind == "in0" ? 1 : 0;
    if (known && !activity[size_t(pin)].driven[size_t(level)])
      return pinCaption(t, pin) + " ни разу не подан в " + n(level);
    return pinCaption(t, pin) + " ни разу не влияет на выход при " + n(level) + " на нём";
  }
  if (kind == "out0" || kind == "out1") {
    const int level = kind == "out0" ? 1 : 0;
    if (known && !activity[size_t(pin)].expected[size_t(level)])
      return pinCaption(t, pin) + " ни разу не ожидается в " + n(level);
    return pinCaption(t, pin) + ": " + n(level) + " на нём ожидается лишь там, где микросхема его не ведёт";
  }
  if (kind == "bridge" && v.size() == 2) {
    const std::string pins = "выводы " + n(v[0]) + " и " + n(v[1]);
    if (!everDiffer(t, v[0], v[1])) return pins + " ни разу не имеют разных уровней";
    return "разные уровни на выводах " + n(v[0]) + " и " + n(v[1]) + " ни разу не меняют ожидаемый выход";
  }
  if (kind == "addr0" || kind == "addr1")
    return "ни одно чтение не отличает ячейки, адреса которых различаются только в A" + n(pin);
  if (kind == "addrshort" && v.size() == 2)
    return "ни одно чтение не отличает адреса с разными уровнями на A" + n(v[0]) + " и A" + n(v[1]);
  if (kind == "datashort" && v.size() == 2)
    return "линии D" + n(v[0]) + " и D" + n(v[1]) + " ни разу не несут разные уровни при записи и чтении";
  if (kind == "transition" && v.size() >= 2)
    return "бит " + n(v[1]) + " ячейки " + n(v[0]) + " ни разу не проверяется чтением после такой смены";
  if (kind == "coupling" && v.size() == 3)
    return "запись, меняющую бит " + n(v[2]) + " ячейки " + n(v[0]) +
           ", ни разу не проверяет чтение ячейки " + n(v[1]);
  return {};
}

}  // namespace qel::coverage
