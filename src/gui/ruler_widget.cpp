#include "gui/ruler_widget.h"

#include <QFontMetrics>
#include <QPainter>

#include "gui/diagram_painter.h"

namespace qel::gui {

RulerWidget::RulerWidget(const views::DiagramView& view, QWidget* parent) : QWidget(parent), view_(view) {
  setObjectName("PaintBox2");
  setFixedHeight(19);
  QFont f("Courier");
  f.setStyleHint(QFont::Monospace);
  f.setPointSize(8);
  setFont(f);
}

void RulerWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colours::buttonFace);
  const QFontMetrics metrics(font());
  const auto labels = views::rulerLabels(view_.firstCycle, view_.cellWidth, rulerWidth(), [&](int n) {
    return metrics.horizontalAdvance(QString::number(n));
  });
  p.setPen(Qt::black);
  for (const auto& l : labels)
    p.drawText(views::kDiagramLeft + l.x, 3 + metrics.ascent(), QString::number(l.number));
}

}  // namespace qel::gui
