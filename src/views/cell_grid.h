#pragma once
// The cells of a large grid that a viewport shows, so that a window paints only those.

namespace qel::views {

// Data cells [firstRow, rowEnd) x [firstColumn, columnEnd); headers are outside the count.
struct CellRange {
  int firstRow = 0, rowEnd = 0;
  int firstColumn = 0, columnEnd = 0;
  bool empty() const { return rowEnd <= firstRow || columnEnd <= firstColumn; }
};

// scrollX, scrollY: the pixel of the data area at the viewport's top left; width, height: the
// data area the viewport shows. A partly shown cell counts.
CellRange visibleCells(int rows, int columns, int cellWidth, int cellHeight, int scrollX, int scrollY,
                       int width, int height);

}  // namespace qel::views
