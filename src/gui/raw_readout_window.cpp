#include "gui/raw_readout_window.h"

#include <QPainter>
#include <QScrollBar>

#include "views/cell_grid.h"

namespace qel::gui {

RawReadoutWindow::RawReadoutWindow(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("fmrkdk");
  setWindowTitle("Сырые данные тестера");
  setWindowFlag(Qt::Window);
  resize(760, 600);
  horizontalScrollBar()->setSingleStep(kCellWidth);
  verticalScrollBar()->setSingleStep(kCellHeight);
  updateBars();
}

void RawReadoutWindow::refresh() {
  updateBars();
  viewport()->update();
}

void RawReadoutWindow::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  updateBars();
}

void RawReadoutWindow::updateBars() {
  const QSize area = viewport()->size() - QSize(kHeaderWidth, kCellHeight);
  horizontalScrollBar()->setRange(0, std::max(0, kWords * kCellWidth - area.width()));
  horizontalScrollBar()->setPageStep(std::max(1, area.width()));
  verticalScrollBar()->setRange(0, std::max(0, kChannels * kCellHeight - area.height()));
  verticalScrollBar()->setPageStep(std::max(1, area.height()));
}

void RawReadoutWindow::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QSize size = viewport()->size();
  p.fillRect(viewport()->rect(), Qt::white);
  const int sx = horizontalScrollBar()->value();
  const int sy = verticalScrollBar()->value();
  const auto r = views::visibleCells(kChannels, kWords, kCellWidth, kCellHeight, sx, sy,
                                     size.width() - kHeaderWidth, size.height() - kCellHeight);
  const QColor header = palette().color(QPalette::Button);
  const QColor lines = palette().color(QPalette::Mid);
  painted_ = 0;
  p.setClipRect(kHeaderWidth, kCellHeight, size.width(), size.height());
  for (int row = r.firstRow; row < r.rowEnd; ++row) {
    const int y = kCellHeight + row * kCellHeight - sy;
    for (int col = r.firstColumn; col < r.columnEnd; ++col) {
      const int x = kHeaderWidth + col * kCellWidth - sx;
      const QRect cell(x, y, kCellWidth, kCellHeight);
      p.setPen(lines);
      p.drawRect(cell.adjusted(0, 0, -1, -1));
      const char c = grid_.at(row + 1, col + 1);
      if (c) {
        p.setPen(c == '1' ? Qt::red : Qt::black);
        p.drawText(cell, Qt::AlignCenter, QString(QChar(c)));
      }
      ++painted_;
    }
  }
  // The headers stay in place: word numbers along the top, channel numbers down the left.
  p.setClipping(false);
  p.fillRect(0, 0, size.width(), kCellHeight, header);
  p.fillRect(0, 0, kHeaderWidth, size.height(), header);
  p.setPen(palette().color(QPalette::ButtonText));
  p.setClipRect(kHeaderWidth, 0, size.width(), kCellHeight);
  for (int col = r.firstColumn; col < r.columnEnd; ++col)
    p.drawText(QRect(kHeaderWidth + col * kCellWidth - sx, 0, kCellWidth, kCellHeight), Qt::AlignCenter,
               QString::number(col + 1));
  p.setClipRect(0, kCellHeight, kHeaderWidth, size.height());
  for (int row = r.firstRow; row < r.rowEnd; ++row)
    p.drawText(QRect(0, kCellHeight + row * kCellHeight - sy, kHeaderWidth, kCellHeight), Qt::AlignCenter,
               QString::number(row + 1));
}

}  // namespace qel::gui
