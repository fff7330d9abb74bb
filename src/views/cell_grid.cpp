#include "views/cell_grid.h"

#include <algorithm>

namespace qel::views {

namespace {
// First and end index along one axis.
void span(int count, int cell, int scroll, int extent, int& first, int& end) {
  if (count <= 0 || cell <= 0 || extent <= 0) {
    first = end = 0;
    return;
  }
  scroll = std::max(0, scroll);
  first = std::min(count, scroll / cell);
  const long long last = (static_cast<long long>(scroll) + extent + cell - 1) / cell;
  end = int(std::min<long long>(count, last));
}
}  // namespace

CellRange visibleCells(int rows, int columns, int cellWidth, int cellHeight, int scrollX, int scrollY,
                       int width, int height) {
  CellRange r;
  span(rows, cellHeight, scrollY, height, r.firstRow, r.rowEnd);
  span(columns, cellWidth, scrollX, width, r.firstColumn, r.columnEnd);
  return r;
}

}  // namespace qel::views
