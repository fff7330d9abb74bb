#pragma once
// The timing diagram's view state and its rules, without any drawing: zoom steps, scrolling,
// the cursor, visible ranges, scroll bars, ruler labels and the formula hint.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/test_description.h"

namespace qel::views {

inline constexpr int kDiagramLeft = 140;  // the waveform area starts right of the header
inline constexpr int kMinCellWidth = 3;
inline constexpr int kMaxCellWidth = 46;
inline constexpr int kNormalCellWidth = 15;

struct DiagramView {
  int rowHeight = 16;
  int cellWidth = kNormalCellWidth;
  int penExtra = 0;
  int firstRow = 0;      // rows scrolled off the top
  int firstCycle = 0;    // cycles scrolled off the left
  int cursorColumn = 1;  // cursor cycle = firstCycle + cursorColumn
  int cursorRow = 1;
  int cursorPin = 1;
  int paintColumn = 1;
  bool showReference = true;
  bool showResult = false;
  bool grid = false;

  int cursorCycle() const { return firstCycle + cursorColumn; }
};

// Zoom steps: in goes 3, 4, 5, 7, 9 ... 45, 46; out goes back by 2 (by 1 below 7) down to 3.
int zoomInWidth(int cellWidth);
int zoomOutWidth(int cellWidth);

enum class Zoom { In, Out, Normal };
// Applies a zoom and keeps the cursor cycle in the middle of a ruler of rulerWidth pixels.
void applyZoom(DiagramView& view, Zoom zoom, int rulerWidth);

// Ctrl+wheel: zooms keeping the cycle under x (paint box coordinates) where it is.
void zoomAround(DiagramView& view, Zoom zoom, int x, int width, int cycleCount);

// Cycle width that fits the test into the ruler after a load, 3..40; cursor on column 1.
void fitCellWidth(DiagramView& view, int rulerWidth, int cycleCount);

// Whole cycles that fit right of the header.
inline int visibleCycleColumns(const DiagramView& view, int width) {
  return (width - kDiagramLeft) / (view.cellWidth > 0 ? view.cellWidth : 1);
}

struct ScrollBars {
  bool verticalShown = false;
  int verticalMax = 0;
  bool horizontalShown = false;
  int horizontalMax = 0;
};
// Which bars the paint box of width x height needs, and their ranges.
ScrollBars scrollBars(const DiagramView& view, int pinCount, int cycleCount, int width, int height);

struct VisibleRange {
  int firstRow = 1, lastRow = 0;      // 1-based rows
  int firstCycle = 1, lastCycle = 0;  // cycles
};
// What a paint has to draw: never more than what fits, whatever the test's length.
VisibleRange visibleRange(const DiagramView& view, int pinCount, int cycleCount, int width, int height);

// Sets the first cycle (horizontal scroll), clamped to 0..maxFirstCycle.
void scrollCycles(DiagramView& view, int firstCycle, int maxFirstCycle);
// Sets the first row (vertical scroll); the cursor row follows the shift.
void scrollRows(DiagramView& view, const TestDescription& test, int firstRow, int maxFirstRow);

// A click on the paint box; false when the click is outside the rows and ignored.
bool clickAt(DiagramView& view, const TestDescription& test, int x, int y);
// The cursor column is put back on 1 when a click left of the waveforms put it on 0.
void normaliseCursor(DiagramView& view);

enum class Key { None, Up, Down, Left, Right, ZoomIn, ZoomOut, ZoomNormal };
// The key a virtual key code stands for: arrows, +/= (107, 187), - (109, 189), * and N (106, 78).
Key keyOfVirtualCode(int code);

// Handles one key on the diagram page; width is the paint box width, ruler the ruler width.
void handleKey(DiagramView& view, const TestDescription& test, Key key, int width, int rulerWidth,
               const ScrollBars& bars);

// Puts the cursor on a cycle, scrolling it into the fourth column when it is out of view.
void moveCursorToCycle(DiagramView& view, int cycle, int width, int maxFirstCycle);

enum class Mode { Reference, Result };
// Switches between reference and result; false when that mode is already shown.
bool setMode(DiagramView& view, Mode mode);
inline Mode modeOf(const DiagramView& view) {
  return view.showResult ? Mode::Result : Mode::Reference;
}
inline void toggleMode(DiagramView& view) {
  setMode(view, view.showResult ? Mode::Reference : Mode::Result);
}

struct RulerLabel {
  int x = 0;
  int number = 0;
};
// Cycle numbers of a ruler of width pixels; textWidth gives the pixel width of a number's text.
std::vector<RulerLabel> rulerLabels(int firstCycle, int cellWidth, int width,
                                    const std::function<int(int)>& textWidth);

// Hint of the row under the mouse: "12 F=C1ORC2." for a formula pin, nothing for other rows.
std::optional<std::string> formulaHint(const TestDescription& test, int slot);

// The visible row under y, 1-based, or 0 outside the rows.
int rowAt(const DiagramView& view, int pinCount, int y);

// Text of status panel 1: "Такт 5/100".
std::string cycleStatusText(const DiagramView& view, int cycleCount);

}  // namespace qel::views
