#pragma once
// The package drawing: the outline's size for a paint box, where each pin and each text column
// goes, and the texts and warnings of the contact findings. No drawing here.

#include <string>

#include "model/contact_record.h"
#include "model/level_thresholds.h"
#include "model/test_description.h"

namespace qel::views {

struct PackageColumns {
  bool state = true;    // "Логическое сосотяние"
  bool type = true;     // "Тип ноги"
  bool voltage = true;  // "Напряжение"
};

struct PackageGeometry {
  int bodyWidth = 100;
  int bodyLeft = 140;
  int bodyHeight = 0;
  int topMargin = 15, bottomMargin = 15;
  int pinHeight = 18;
  int pinGap = 15;
  int leadLength = 10, tipLength = 5, tipHeight = 10;
  int stateColumn = 15, typeColumn = 35, voltageColumn = 35, groupColumn = 20;

  void setColumns(const PackageColumns& columns);
  // Adapts the gap between leads to the paint box and centres the outline.
  void layout(int pinCount, int width, int height);
  int bodyRight() const { return bodyLeft + bodyWidth; }
};

enum class Side { Left, Right };
struct PinPlace {
  Side side = Side::Left;
  int row = 0;  // 0-based from the top
  int top = 0;  // y of the lead's top
};
// Pins 1..n down the left, n+1..2n up the right (2n at the top).
PinPlace pinPlace(const PackageGeometry& g, int pinCount, int pin);

// x of the centre of each text column of a pin (the number's left edge for the number).
struct PinTextX {
  int number = 0, state = 0, type = 0, voltage = 0, groupLeft = 0;
};
PinTextX pinTextX(const PackageGeometry& g, Side side);

// Below this level the clip is taken not to touch the pin ("NC" beside it).
inline constexpr int kUntouchedLevel = 3;

// Voltage of a level code, truncated to tenths: "1,8" for 128 with U0 1.375; "NC" below 3.
std::string voltageText(int level, double u0, char decimalSeparator);

// Findings drawn in red bold.
bool markIsFault(const ContactRecord& r, int typeCode);
bool voltageIsFault(const ContactRecord& r, const LevelThresholds& t);
inline bool typeTextIsFault(const std::string& typeText) {
  return !typeText.empty() && typeText[0] == '!';
}

}  // namespace qel::views
