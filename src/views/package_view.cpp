#include "views/package_view.h"

#include <cmath>
#include <cstdio>

namespace qel::views {

void PackageGeometry::setColumns(const PackageColumns& c) {
  stateColumn = c.state ? 15 : 0;
  typeColumn = c.type ? 35 : 0;
  voltageColumn = c.voltage ? 35 : 0;
}

void PackageGeometry::layout(int pinCount, int width, int height) {
  const int n = pinCount / 2;
  auto heightFor = [&](int gap) { return n * (pinHeight + gap) - gap + topMargin + bottomMargin; };
  if (bodyHeight < height && pinGap <= 15) {
    // Spread the leads over a tall paint box, but only up to what fits.
    for (int guard = 0; guard < 1000; ++guard) {
      bodyHeight = heightFor(pinGap);
      if (bodyHeight + n > height) break;
      ++pinGap;
    }
  }
  while (pinGap >= 0) {
    bodyHeight = heightFor(pinGap);
    if (bodyHeight <= height) break;
    --pinGap;
  }
  if (pinGap < 0) {
    pinGap = 0;
    bodyHeight = heightFor(0);
  }
  bodyLeft = width / 2 - bodyWidth / 2;
}

PinPlace pinPlace(const PackageGeometry& g, int pinCount, int pin) {
  const int n = pinCount / 2;
  PinPlace p;
  if (pin <= n) {
    p.side = Side::Left;
    p.row = pin - 1;
  } else {
    p.side = Side::Right;
    p.row = 2 * n - pin;
  }
  p.top = p.row * (g.pinHeight + g.pinGap) + g.topMargin;
  return p;
}

PinTextX pinTextX(const PackageGeometry& g, Side side) {
  PinTextX x;
  if (side == Side::Left) {
    x.number = g.bodyLeft + 4;
    x.state = g.bodyLeft - g.stateColumn - 15 + 5;
    x.type = g.bodyLeft - g.typeColumn - g.stateColumn - 15 + 17;
    x.voltage = g.bodyLeft - g.voltageColumn - g.typeColumn - g.stateColumn - 15 + 17;
    x.groupLeft = g.bodyLeft - g.groupColumn - g.voltageColumn - g.typeColumn - g.stateColumn - 17;
  } else {
    const int r = g.bodyRight();
    x.number = r - 15;
    x.state = r + 20 + 5;
    x.type = r + 15 + g.stateColumn + 5 + 17;
    x.voltage = r + 15 + g.stateColumn + g.typeColumn + 5 + 17;
    x.groupLeft = r + 20 + g.stateColumn + g.typeColumn + g.voltageColumn;
  }
  return x;
}

std::string voltageText(int level, double u0, char separator) {
  if (level < kUntouchedLevel) return "NC";
  const double v = (u0 + 5.0) * level / 256.0 - u0;
  const long tenths = std::lround(std::trunc(v * 10.0 + (v >= 0 ? 1e-9 : -1e-9)));
  char buffer[32];
  const long whole = tenths / 10;
  const long frac = std::labs(tenths % 10);
  std::snprintf(buffer, sizeof buffer, "%s%ld%c%ld", tenths < 0 && whole == 0 ? "-" : "", whole, separator,
                frac);
  std::string text = buffer;
  return text.substr(0, 4);
}

bool markIsFault(const ContactRecord& r, int typeCode) {
  return (r.mark == "!H" && typeCode != kGround) || (r.mark == "!L" && typeCode != kSupply);
}

bool voltageIsFault(const ContactRecord& r, const LevelThresholds& t) {
  if (r.level < kUntouchedLevel) return r.typeText != "NC";
  return (r.typeText == "GND" && r.level > t.maxGround) || (r.typeText == "VCC" && r.level < t.minSupply);
}

}  // namespace qel::views
