#include "coverage/coverage_totals.h"

#include <algorithm>
#include <cstdint>

namespace qel::coverage {

CoverageTotals totalsOf(const std::vector<FaultOutcome>& outcomes) {
  CoverageTotals t;
  for (FaultClass c : kFaultClasses) {
    ClassTotal total{c, 0, 0};
    for (const FaultOutcome& o : outcomes)
      if (o.error.empty() && classOf(o.fault) == c) {
        ++total.faults;
        total.detected += o.detected ? 1 : 0;
      }
    if (total.faults == 0) continue;
    t.faults += total.faults;
    t.detected += total.detected;
    t.classes.push_back(total);
  }
  return t;
}

std::vector<PinCoverage> pinCoverage(const std::vector<FaultOutcome>& outcomes, int pinCount) {
  std::vector<PinCoverage> out(size_t(std::max(pinCount, 0)) + 1);
  for (const FaultOutcome& o : outcomes) {
    const FaultClass c = classOf(o.fault);
    if (!o.error.empty() || (c != FaultClass::Input && c != FaultClass::Output && c != FaultClass::Bridge))
      continue;
    // "in0:3", "bridge:3,4": every number after the colon is a pin.
    for (int pin : faultNumbers(o.fault))
      if (pin >= 1 && pin <= pinCount) {
        ++out[size_t(pin)].faults;
        out[size_t(pin)].detected += o.detected ? 1 : 0;
      }
  }
  return out;
}

std::string shareText(int detected, int faults) {
  const int64_t percent = faults > 0 ? int64_t(detected) * 100 / faults : 100;
  return std::to_string(detected) + " из " + std::to_string(faults) + " (" + std::to_string(percent) + " %)";
}

}  // namespace qel::coverage
