#include "gui/cycle_column.h"

#include <QPainter>

#include "gui/diagram_painter.h"

namespace qel::gui {

CycleColumn::CycleColumn(const TestDescription& test, const views::DiagramView& view, QWidget* parent)
    : QWidget(parent), test_(test), view_(view) {
  setObjectName("AColumn");
  setToolTip("Битовые данные такта");
  setFixedWidth(28);
}

CycleColumn::Cell CycleColumn::cellOf(const TestDescription& t, int slot, int cycle, bool result) {
  if (cycle < 1 || cycle > t.cycleCount || slot < 1) return {'x', false};
  const int pin = slot > 50 ? slot - 50 : slot;
  const int reference = t.level(slot, cycle);
  const int code = t.resultCode(pin, cycle);
  const int shown = result ? code - 1 : reference;
  const bool red = code != reference + 1 && reference != 2 && code <= 4;
  return {shown == 0 ? '0' : shown == 1 ? '1' : 'x', red};
}

void CycleColumn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  QFont bold = font();
  bold.setPointSize(8);
  bold.setBold(true);
  p.setFont(bold);
  const int cycle = view_.cursorCycle();
  const QString number = QString::number(cycle);
  const int needed = p.fontMetrics().horizontalAdvance(number) + 1;
  if (needed - 4 >= width()) setFixedWidth(needed + 4);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, width(), kHeaderHeight), Qt::AlignCenter, number);
  p.setPen(colours::buttonFace);
  p.drawLine(0, kHeaderHeight - 1, width(), kHeaderHeight - 1);

  QFont plain = font();
  plain.setPointSize(8);
  p.setFont(plain);
  const int signalRows = test_.pinCount - test_.passivePinCount;
  const int rh = view_.rowHeight;
  for (int r = view_.firstRow + 1, i = 0; r <= signalRows; ++r, ++i) {
    const int y = kHeaderHeight + i * rh;
    if (y > height()) break;
    const auto cell = cellOf(test_, test_.rowSignal(r), cycle, view_.showResult);
    p.setPen(cell.red ? QColor(255, 0, 0) : QColor(Qt::black));
    p.drawText(QRect(0, y, width(), rh), Qt::AlignCenter, QString(QChar(cell.digit)));
  }
}

}  // namespace qel::gui
