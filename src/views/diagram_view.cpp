#include "views/diagram_view.h"

#include <algorithm>

namespace qel::views {

int zoomInWidth(int w) {
  int n = w > 44 ? kMaxCellWidth : w + 2;
  if (n <= 6) n -= 1;
  return std::clamp(n, kMinCellWidth, kMaxCellWidth);
}

int zoomOutWidth(int w) {
  if (w >= 7) return std::min(w - 2, kMaxCellWidth);
  if (w >= 4) return w - 1;
  return kMinCellWidth;
}

void applyZoom(DiagramView& v, Zoom zoom, int rulerWidth) {
  switch (zoom) {
    case Zoom::In:
      v.cellWidth = zoomInWidth(v.cellWidth);
      break;
    case Zoom::Out:
      v.cellWidth = zoomOutWidth(v.cellWidth);
      break;
    case Zoom::Normal:
      v.cellWidth = kNormalCellWidth;
      break;
  }
  const int h = (rulerWidth / v.cellWidth + 1) / 2;
  const int b = v.cursorColumn + v.firstCycle - h;
  if (b >= 0) {
    v.cursorColumn = h;
    v.firstCycle = b;
    v.paintColumn = h;
  }
}

void zoomAround(DiagramView& v, Zoom zoom, int x, int width, int cycleCount) {
  const int column = std::max(0, (x - kDiagramLeft) / v.cellWidth);
  const int anchor = v.firstCycle + column;  // cycles left of the pointer, kept where they are
  const int cursor = v.cursorCycle();
  v.cellWidth = zoom == Zoom::In    ? zoomInWidth(v.cellWidth)
                : zoom == Zoom::Out ? zoomOutWidth(v.cellWidth)
                                    : kNormalCellWidth;
  const int newColumn = std::max(0, (x - kDiagramLeft) / v.cellWidth);
  const int maxFirst = std::max(0, cycleCount - visibleCycleColumns(v, width) + 1);
  v.firstCycle = std::clamp(anchor - newColumn, 0, maxFirst);
  // The cursor stays on its cycle while that is in view; otherwise it keeps its column.
  const int column2 = cursor - v.firstCycle;
  if (column2 >= 1 && column2 <= visibleCycleColumns(v, width)) v.cursorColumn = v.paintColumn = column2;
}

void fitCellWidth(DiagramView& v, int rulerWidth, int cycleCount) {
  v.cellWidth = std::clamp(cycleCount > 0 ? rulerWidth / cycleCount : 40, kMinCellWidth, 40);
  v.cursorColumn = v.paintColumn = 1;
}

ScrollBars scrollBars(const DiagramView& v, int pinCount, int cycleCount, int width, int height) {
  ScrollBars b;
  if (height < pinCount * v.rowHeight) {
    b.verticalShown = true;
    b.verticalMax = pinCount - height / v.rowHeight;
  }
  if (width < int64_t(cycleCount) * v.cellWidth + kDiagramLeft || v.firstCycle > 0) {
    b.horizontalShown = true;
    b.horizontalMax = std::max({0, cycleCount - visibleCycleColumns(v, width) + 1, v.firstCycle});
  }
  return b;
}

VisibleRange visibleRange(const DiagramView& v, int pinCount, int cycleCount, int width, int height) {
  VisibleRange r;
  r.firstRow = v.firstRow + 1;
  r.lastRow = std::min(pinCount, v.firstRow + height / v.rowHeight + 1);
  r.firstCycle = v.firstCycle + 1;
  // Only what fits is drawn, so a million cycles cost what a hundred do.
  r.lastCycle = std::min(cycleCount, v.firstCycle + (width - kDiagramLeft + v.cellWidth) / v.cellWidth);
  return r;
}

void scrollCycles(DiagramView& v, int firstCycle, int maxFirstCycle) {
  v.firstCycle = std::clamp(firstCycle, 0, std::max(0, maxFirstCycle));
}

void scrollRows(DiagramView& v, const TestDescription& test, int firstRow, int maxFirstRow) {
  const int row = std::clamp(firstRow, 0, std::max(0, maxFirstRow));
  v.cursorRow -= row - v.firstRow;
  v.firstRow = row;
  v.cursorPin = test.rowSignal(v.firstRow + v.cursorRow);
}

int rowAt(const DiagramView& v, int pinCount, int y) {
  if (y < 0) return 0;
  const int a = y / v.rowHeight;
  if (a + 1 > pinCount - v.firstRow) return 0;
  return v.firstRow + a + 1;
}

bool clickAt(DiagramView& v, const TestDescription& test, int x, int y) {
  if (y < 0) return false;
  const int a = y / v.rowHeight;
  if (v.firstRow + a > 48 || a + 1 > test.pinCount - v.firstRow) return false;
  v.cursorColumn = x <= kDiagramLeft ? 0 : (x - kDiagramLeft) / v.cellWidth + 1;
  v.cursorRow = a + 1;
  v.cursorPin = test.rowSignal(v.firstRow + a + 1);
  v.paintColumn = v.cursorColumn;
  return true;
}

void normaliseCursor(DiagramView& v) {
  if (v.paintColumn < 1) v.paintColumn = v.cursorColumn = 1;
}

Key keyOfVirtualCode(int code) {
  switch (code) {
    case 38:
      return Key::Up;
    case 40:
      return Key::Down;
    case 37:
      return Key::Left;
    case 39:
      return Key::Right;
    case 107:
    case 187:
      return Key::ZoomIn;
    case 109:
    case 189:
      return Key::ZoomOut;
    case 106:
    case 78:
      return Key::ZoomNormal;
    default:
      return Key::None;
  }
}

void handleKey(DiagramView& v, const TestDescription& test, Key key, int width, int rulerWidth,
               const ScrollBars& bars) {
  switch (key) {
    case Key::Up:
      scrollRows(v, test, v.firstRow - 1, bars.verticalMax);
      break;
    case Key::Down:
      scrollRows(v, test, v.firstRow + 1, bars.verticalMax);
      break;
    case Key::Left:
      if (v.cursorCycle() > 1) {
        if (v.cursorColumn > 1)
          --v.cursorColumn;
        else if (v.firstCycle > 0)
          --v.firstCycle;
      }
      break;
    case Key::Right:
      if (v.cursorCycle() < test.cycleCount) {
        if (v.cursorColumn < visibleCycleColumns(v, width))
          ++v.cursorColumn;
        else if (v.firstCycle < bars.horizontalMax)
          ++v.firstCycle;
      }
      break;
    case Key::ZoomIn:
      applyZoom(v, Zoom::In, rulerWidth);
      break;
    case Key::ZoomOut:
      applyZoom(v, Zoom::Out, rulerWidth);
      break;
    case Key::ZoomNormal:
      applyZoom(v, Zoom::Normal, rulerWidth);
      break;
    case Key::None:
      break;
  }
  v.paintColumn = v.cursorColumn;
}

void moveCursorToCycle(DiagramView& v, int cycle, int width, int maxFirstCycle) {
  // Column 0 is left of the waveforms; a cycle there is out of view like any other.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int d = cycle - v.firstCycle;
    if (d >= 1 && d <= std::max(1, visibleCycleColumns(v, width))) {
      v.cursorColumn = v.paintColumn = d;
      return;
    }
    const int position = d < 1 && cycle < 5 ? cycle - 1 : cycle - 4;
    if (d < 1) v.cursorColumn = 1;
    scrollCycles(v, position, std::max(maxFirstCycle, 0));
  }
  v.cursorColumn = v.paintColumn = std::max(1, cycle - v.firstCycle);
}

bool setMode(DiagramView& v, Mode mode) {
  if (modeOf(v) == mode) return false;
  v.showReference = mode == Mode::Reference;
  v.showResult = mode == Mode::Result;
  return true;
}

std::vector<RulerLabel> rulerLabels(int firstCycle, int cellWidth, int width,
                                    const std::function<int(int)>& textWidth) {
  std::vector<RulerLabel> labels;
  if (cellWidth <= 0 || width <= 0) return labels;
  const int n = width / cellWidth + 1;
  const int t = textWidth(firstCycle + n) + 8;
  const int divisor = std::max(1, width / t - 1);
  int q = n / divisor + 1;
  if (q <= 0) q = 1;
  const int from = firstCycle / q + 1;
  const int to = firstCycle / q + width / cellWidth + 1;
  for (int i = from; i <= to; ++i) {
    if (i % 2 == 0 && cellWidth < 5) continue;
    const int e = q * i;
    const int base = cellWidth * (e - firstCycle) - cellWidth / 2;
    if (e < 10)
      labels.push_back({base - 6, e});
    else if (e < 100)
      labels.push_back({base - 9, e});
    else {
      const int next = cellWidth * (e + 1 - firstCycle) - cellWidth / 2;
      const int shift = e < 1000       ? 14
                        : e < 10000    ? 19
                        : e < 100000   ? 22
                        : e < 1000000  ? 25
                        : e < 10000000 ? 28
                                       : 31;
      labels.push_back({next - shift, e + 1});
    }
  }
  return labels;
}

std::optional<std::string> formulaHint(const TestDescription& test, int slot) {
  if (slot < 1 || slot > kMaxSignal || test.pins[size_t(slot)].typeText != "F") return std::nullopt;
  std::string text;
  for (char c : test.formula[size_t(slot)]) {
    if (c == '|')
      text += "OR";
    else
      text += c;
  }
  return std::to_string(slot) + " F=" + text + ".";
}

std::string cycleStatusText(const DiagramView& v, int cycleCount) {
  return "Такт " + std::to_string(v.cursorCycle()) + "/" + std::to_string(cycleCount);
}

}  // namespace qel::views
