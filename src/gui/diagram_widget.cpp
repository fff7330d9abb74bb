#include "gui/diagram_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
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
  if (!in.busy || !in.dataMutex) {
    paintDiagram(p, in);
    return;
  }
  // During a run: paint when the worker is not writing, else show the last picture and try
  // again shortly; the picture is kept at the screen's resolution.
  std::unique_lock lock(*in.dataMutex, std::try_to_lock);
  if (lock.owns_lock()) {
    const qreal ratio = devicePixelRatioF();
    if (last_.size() != size() * ratio) {
      last_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
      last_.setDevicePixelRatio(ratio);
    }
    QPainter into(&last_);
    paintDiagram(into, in);
  } else {
    QTimer::singleShot(30, this, [this] { update(); });
  }
  if (!last_.isNull()) p.drawImage(0, 0, last_);
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
