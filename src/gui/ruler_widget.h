#pragma once
// PaintBox2: the cycle numbers above the waveforms.

#include <QWidget>

#include "views/diagram_view.h"

namespace qel::gui {

class RulerWidget : public QWidget {
  Q_OBJECT
 public:
  RulerWidget(const views::DiagramView& view, QWidget* parent = nullptr);
  // Width that counts for the labels and the zoom: the part above the waveforms.
  int rulerWidth() const { return std::max(1, width() - views::kDiagramLeft); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const views::DiagramView& view_;
};

}  // namespace qel::gui
