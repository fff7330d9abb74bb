#include "gui/diagram_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace qel::gui {

DiagramWidget::DiagramWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("PaintBox1");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!source) {
    p.fillRect(rect(), colours::background);
    return;
  }
  DiagramPaint in = source();
  in.width = width();
  in.height = height();
  if (!in.test || !in.view) return;
  if (!in.dataMutex) {
    paintDiagram(p, in);
    return;
  }
  picture_.paint(*this, p, *in.dataMutex, in.busy, [&](QPainter& into) { paintDiagram(into, in); });
}

void DiagramWidget::mousePressEvent(QMouseEvent* e) {
  lastPress_ = e->position().toPoint();
  setFocus();
}

void DiagramWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) Q_EMIT clicked(lastPress_);
}

void DiagramWidget::mouseDoubleClickEvent(QMouseEvent*) {
  Q_EMIT doubleClicked();
}
void DiagramWidget::mouseMoveEvent(QMouseEvent* e) {
  Q_EMIT hovered(e->position().toPoint());
}

void DiagramWidget::keyPressEvent(QKeyEvent* e) {
  Q_EMIT keyPressed(e->key(), e->modifiers());
}

void DiagramWidget::wheelEvent(QWheelEvent* e) {
  // Touch pads send small deltas; whole notches of 120 make one step.
  wheelRemainder_ += e->angleDelta().y();
  const int steps = wheelRemainder_ / 120;
  wheelRemainder_ %= 120;
  if (steps != 0) Q_EMIT wheelTurned(steps, e->modifiers() & Qt::ControlModifier, int(e->position().x()));
  e->accept();
}

}  // namespace qel::gui
