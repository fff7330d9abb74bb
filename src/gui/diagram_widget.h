#pragma once
// PaintBox1: the waveform area with its header. Mouse and keys go to the diagram panel.

#include <QWidget>
#include <functional>

#include "gui/diagram_painter.h"
#include "gui/run_picture.h"

namespace qel::gui {

class DiagramWidget : public QWidget {
  Q_OBJECT
 public:
  explicit DiagramWidget(QWidget* parent = nullptr);
  // What the next paint draws; filled by the panel just before painting.
  std::function<DiagramPaint()> source;
  QPoint lastPress() const { return lastPress_; }

 Q_SIGNALS:
  void clicked(QPoint at);
  void doubleClicked();
  void hovered(QPoint at);
  void keyPressed(int key, Qt::KeyboardModifiers modifiers);
  void wheelTurned(int steps, bool zoom, int x);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  QPoint lastPress_;
  RunPicture picture_;
  int wheelRemainder_ = 0;
};

}  // namespace qel::gui
