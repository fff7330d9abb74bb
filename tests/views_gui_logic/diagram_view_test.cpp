#include <gtest/gtest.h>

#include "views/diagram_view.h"

using namespace qel;
using namespace qel::views;

namespace {

TestDescription makeTest(int pins, int cycles) {
  TestDescription t;
  t.resetForStartup();
  t.pinCount = pins;
  t.setCycleCount(cycles);
  return t;
}

int digitWidth(int number) {
  return 7 * int(std::to_string(number).size());
}

}  // namespace

TEST(DiagramZoom, StepsAndLimits) {
  std::vector<int> in{3};
  while (in.back() != 46) in.push_back(zoomInWidth(in.back()));
  EXPECT_EQ((std::vector<int>{3, 4, 5, 7, 9}), std::vector<int>(in.begin(), in.begin() + 5));
  EXPECT_EQ(45, in[in.size() - 2]);
  EXPECT_EQ(46, zoomInWidth(45));
  EXPECT_EQ(46, zoomInWidth(46));
  EXPECT_EQ(3, zoomOutWidth(3));
  EXPECT_EQ(4, zoomOutWidth(5));
  EXPECT_EQ(5, zoomOutWidth(7));
  EXPECT_EQ(13, zoomOutWidth(15));

  // The cursor cycle stays where it was, moved to the ruler's middle.
  DiagramView v;
  v.firstCycle = 100;
  v.cursorColumn = 10;
  applyZoom(v, Zoom::Normal, 600);
  const int h = (600 / 15 + 1) / 2;
  EXPECT_EQ(110, v.cursorCycle());
  EXPECT_EQ(h, v.cursorColumn);
  // Near the start there is no room to centre: nothing moves.
  v = DiagramView{};
  v.cursorColumn = 2;
  applyZoom(v, Zoom::In, 600);
  EXPECT_EQ(17, v.cellWidth);
  EXPECT_EQ(2, v.cursorColumn);
  EXPECT_EQ(0, v.firstCycle);
}

TEST(DiagramZoom, WheelZoomKeepsCycleUnderPointer) {
  DiagramView v;
  v.firstCycle = 1000;
  v.cursorColumn = 5;
  const int x = kDiagramLeft + 15 * 20 + 3;  // over cycle 1021
  zoomAround(v, Zoom::Out, x, 900, 100000);
  EXPECT_EQ(13, v.cellWidth);
  EXPECT_EQ(1020, v.firstCycle + (x - kDiagramLeft) / v.cellWidth);
  EXPECT_EQ(1005, v.cursorCycle());
  // Never scrolls before the start.
  v = DiagramView{};
  zoomAround(v, Zoom::Out, 800, 900, 100);
  EXPECT_EQ(0, v.firstCycle);
}

TEST(DiagramFit, AfterLoad) {
  DiagramView v;
  v.cursorColumn = 7;
  fitCellWidth(v, 500, 1000);
  EXPECT_EQ(3, v.cellWidth);
  EXPECT_EQ(1, v.cursorColumn);
  fitCellWidth(v, 500, 5);
  EXPECT_EQ(40, v.cellWidth);
  fitCellWidth(v, 500, 0);
  EXPECT_EQ(40, v.cellWidth);
}

TEST(DiagramRanges, BarsAndVisibleRangeDoNotGrowWithTheTest) {
  DiagramView v;
  auto bars = scrollBars(v, 40, 100, 2000, 2000);
  EXPECT_FALSE(bars.verticalShown);
  EXPECT_FALSE(bars.horizontalShown);
  bars = scrollBars(v, 40, 1'000'000, 740, 320);
  EXPECT_TRUE(bars.verticalShown);
  EXPECT_EQ(40 - 320 / 16, bars.verticalMax);
  EXPECT_TRUE(bars.horizontalShown);
  EXPECT_EQ(1'000'000 - 600 / 15 + 1, bars.horizontalMax);

  v.firstCycle = 500'000;
  v.firstRow = 5;
  const auto r = visibleRange(v, 40, 1'000'000, 740, 320);
  EXPECT_EQ(6, r.firstRow);
  EXPECT_EQ(5 + 20 + 1, r.lastRow);
  EXPECT_EQ(500'001, r.firstCycle);
  EXPECT_EQ(500'000 + (600 + 15) / 15, r.lastCycle);
  // A scrolled view keeps its bar even when the test would fit.
  EXPECT_TRUE(scrollBars(v, 8, 10, 2000, 2000).horizontalShown);
}

TEST(DiagramCursor, ClicksAndKeys) {
  auto t = makeTest(14, 100);
  DiagramView v;
  ASSERT_TRUE(clickAt(v, t, kDiagramLeft + 15 * 3 + 1, 16 * 2 + 3));
  EXPECT_EQ(4, v.cursorColumn);
  EXPECT_EQ(3, v.cursorRow);
  EXPECT_EQ(t.rowSignal(3), v.cursorPin);
  EXPECT_FALSE(clickAt(v, t, 300, 16 * 14 + 1));  // below the last row
  EXPECT_EQ(4, v.cursorColumn);
  ASSERT_TRUE(clickAt(v, t, 100, 1));  // on the header: column 0, then 1 at the next paint
  EXPECT_EQ(0, v.cursorColumn);
  normaliseCursor(v);
  EXPECT_EQ(1, v.cursorColumn);

  const int width = kDiagramLeft + 15 * 10;  // ten columns
  ScrollBars bars = scrollBars(v, t.pinCount, t.cycleCount, width, 400);
  handleKey(v, t, Key::Left, width, width, bars);  // at cycle 1: nothing
  EXPECT_EQ(1, v.cursorCycle());
  for (int i = 0; i < 12; ++i) handleKey(v, t, Key::Right, width, width, bars);
  EXPECT_EQ(13, v.cursorCycle());
  EXPECT_EQ(10, v.cursorColumn);
  EXPECT_EQ(3, v.firstCycle);
  v.firstCycle = 90;
  v.cursorColumn = 10;
  handleKey(v, t, Key::Right, width, width, bars);  // at the last cycle: nothing
  EXPECT_EQ(100, v.cursorCycle());

  EXPECT_EQ(Key::ZoomIn, keyOfVirtualCode(107));
  EXPECT_EQ(Key::ZoomIn, keyOfVirtualCode(187));
  EXPECT_EQ(Key::ZoomOut, keyOfVirtualCode(189));
  EXPECT_EQ(Key::ZoomNormal, keyOfVirtualCode(78));
  EXPECT_EQ(Key::None, keyOfVirtualCode(65));
}

TEST(DiagramCursor, MoveToCycleScrollsIntoFourthColumn) {
  DiagramView v;
  const int width = kDiagramLeft + 15 * 10;
  moveCursorToCycle(v, 7, width, 91);
  EXPECT_EQ(0, v.firstCycle);
  EXPECT_EQ(7, v.cursorColumn);
  moveCursorToCycle(v, 50, width, 91);
  EXPECT_EQ(46, v.firstCycle);
  EXPECT_EQ(50, v.cursorCycle());
  moveCursorToCycle(v, 3, width, 91);
  EXPECT_EQ(3, v.cursorCycle());
  // The cycle just left of the view (column 0) is scrolled in, not replaced by its neighbour.
  v.firstCycle = 20;
  moveCursorToCycle(v, 20, width, 91);
  EXPECT_EQ(20, v.cursorCycle());
  EXPECT_GE(v.cursorColumn, 1);
  // Near the end the scroll stops at its maximum and the cursor still lands.
  moveCursorToCycle(v, 100, width, 91);
  EXPECT_EQ(100, v.cursorCycle());
}

TEST(DiagramMode, SwitchAndHint) {
  DiagramView v;
  EXPECT_FALSE(setMode(v, Mode::Reference));
  EXPECT_TRUE(setMode(v, Mode::Result));
  EXPECT_TRUE(v.showResult);
  EXPECT_FALSE(v.showReference);
  EXPECT_FALSE(setMode(v, Mode::Result));
  toggleMode(v);
  EXPECT_EQ(Mode::Reference, modeOf(v));

  auto t = makeTest(14, 10);
  t.pins[12].typeText = "F";
  t.formula[12] = "C1|C2&C3";
  EXPECT_EQ("12 F=C1ORC2&C3.", formulaHint(t, 12).value());
  EXPECT_FALSE(formulaHint(t, 3).has_value());
  EXPECT_EQ("Такт 1/10", cycleStatusText(v, 10));
}

TEST(DiagramRuler, LabelsFromHundredShowTheNextCycle) {
  // 15-pixel cycles on a 600-pixel ruler: a label every few cycles.
  auto labels = rulerLabels(0, 15, 600, digitWidth);
  ASSERT_FALSE(labels.empty());
  const int q = labels.front().number;
  EXPECT_GT(q, 0);
  for (size_t i = 1; i < labels.size(); ++i) {
    const int e = q * int(i + 1);
    EXPECT_EQ(e < 100 ? e : e + 1, labels[i].number);
  }
  EXPECT_EQ(15 * q - 7 - (q < 10 ? 6 : 9), labels.front().x);
  // Step 10 from cycle 50: 60, 70, 80, 90, 101, 111.
  labels = rulerLabels(50, 5, 500, [](int) { return 32; });
  ASSERT_GE(labels.size(), 6u);
  std::vector<int> numbers;
  for (size_t i = 0; i < 6; ++i) numbers.push_back(labels[i].number);
  EXPECT_EQ((std::vector<int>{60, 70, 80, 90, 101, 111}), numbers);
  EXPECT_EQ(5 * (101 - 50) - 2 - 14, labels[4].x);
  // Narrow cells skip every even step.
  labels = rulerLabels(0, 3, 600, digitWidth);
  const int step = labels.front().number;
  for (auto& l : labels) EXPECT_EQ(1, ((l.number < 100 ? l.number : l.number - 1) / step) % 2);
}
