#pragma once
// The page "Диаграмма" without its word panels: the waveform area, the ruler, the cycle column
// and the two scroll bars, and what the mouse, the wheel and the keys do to the view.

#include <QWidget>

#include "engine/bench.h"
#include "views/diagram_view.h"

class QScrollBar;

namespace qel::gui {

class CycleColumn;
class DiagramWidget;
class RulerWidget;

class DiagramPanel : public QWidget {
  Q_OBJECT
 public:
  DiagramPanel(const engine::Bench& bench, views::DiagramView& view, QWidget* parent = nullptr);

  // Scroll bars and sizes from the view state, then a repaint (FormResize).
  void refresh();
  void repaintAll();
  void zoom(views::Zoom zoom);
  void key(views::Key key);
  void clickAt(QPoint at);
  void moveCursorToCycle(int cycle);
  bool setMode(views::Mode mode);
  // After a load: cursor on the first row, both bars at 0, the cycle width fitted.
  void resetAfterLoad();

  DiagramWidget* diagram() const { return diagram_; }
  RulerWidget* ruler() const { return ruler_; }
  QScrollBar* horizontalBar() const { return hbar_; }
  QScrollBar* verticalBar() const { return vbar_; }
  int rulerWidth() const;

 Q_SIGNALS:
  void cursorMoved();
  void modeChanged();

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  views::ScrollBars bars() const;
  void syncBars();
  void onHorizontal(int position);
  void onVertical(int position);
  void onWheel(int steps, bool zoom, int x);
  void onKey(int key, Qt::KeyboardModifiers modifiers);
  void onHover(QPoint at);
  // The diagram answers the mouse, the wheel and the keys only while a test is shown.
  bool active() const { return bench_.testReady(); }

  const engine::Bench& bench_;
  views::DiagramView& view_;
  DiagramWidget* diagram_;
  RulerWidget* ruler_;
  CycleColumn* column_;
  QScrollBar* hbar_;
  QScrollBar* vbar_;
  bool syncing_ = false;
};

}  // namespace qel::gui
