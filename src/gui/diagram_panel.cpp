#include "gui/diagram_panel.h"

#include <QGridLayout>
#include <QScrollBar>
#include <QToolTip>

#include "gui/cycle_column.h"
#include "gui/diagram_widget.h"
#include "gui/ruler_widget.h"

namespace qel::gui {

DiagramPanel::DiagramPanel(const engine::Bench& bench, views::DiagramView& view, QWidget* parent)
    : QWidget(parent), bench_(bench), view_(view) {
  diagram_ = new DiagramWidget(this);
  ruler_ = new RulerWidget(view_, this);
  column_ = new CycleColumn(bench_.test, view_, this);
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  hbar_->setObjectName("ScrollBar2");
  vbar_ = new QScrollBar(Qt::Vertical, this);
  vbar_->setObjectName("ScrollBar1");

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(column_, 0, 0, 2, 1);
  grid->addWidget(ruler_, 0, 1);
  grid->addWidget(diagram_, 1, 1);
  grid->addWidget(vbar_, 1, 2);
  grid->addWidget(hbar_, 2, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);

  diagram_->source = [this] {
    DiagramPaint p;
    p.test = &bench_.test;
    p.view = &view_;
    p.contacts = &bench_.contacts;
    p.analyserView = bench_.analyserView();
    p.analyserMode = bench_.analyserMode();
    p.dataMutex = &bench_.dataMutex;
    p.busy = bench_.busy();
    return p;
  };
  connect(hbar_, &QScrollBar::valueChanged, this, &DiagramPanel::onHorizontal);
  connect(vbar_, &QScrollBar::valueChanged, this, &DiagramPanel::onVertical);
  connect(diagram_, &DiagramWidget::clicked, this, &DiagramPanel::clickAt);
  connect(diagram_, &DiagramWidget::doubleClicked, this, [this] {
    if (active()) setMode(view_.showResult ? views::Mode::Reference : views::Mode::Result);
  });
  connect(diagram_, &DiagramWidget::keyPressed, this, &DiagramPanel::onKey);
  connect(diagram_, &DiagramWidget::wheelTurned, this, &DiagramPanel::onWheel);
  connect(diagram_, &DiagramWidget::hovered, this, &DiagramPanel::onHover);
}

int DiagramPanel::rulerWidth() const {
  return ruler_->rulerWidth();
}

views::ScrollBars DiagramPanel::bars() const {
  return views::scrollBars(view_, bench_.test.pinCount, bench_.test.cycleCount, diagram_->width(),
                           diagram_->height());
}

void DiagramPanel::syncBars() {
  const auto b = bars();
  syncing_ = true;
  vbar_->setVisible(b.verticalShown);
  vbar_->setRange(0, b.verticalShown ? b.verticalMax : 0);
  vbar_->setPageStep(std::max(1, diagram_->height() / view_.rowHeight));
  if (!b.verticalShown && view_.firstRow != 0) views::scrollRows(view_, bench_.test, 0, 0);
  vbar_->setValue(view_.firstRow);
  hbar_->setVisible(b.horizontalShown);
  hbar_->setRange(0, b.horizontalMax);
  hbar_->setPageStep(std::max(1, views::visibleCycleColumns(view_, diagram_->width())));
  hbar_->setSingleStep(1);
  hbar_->setValue(view_.firstCycle);
  syncing_ = false;
}

void DiagramPanel::repaintAll() {
  diagram_->update();
  ruler_->update();
  column_->update();
  Q_EMIT cursorMoved();
}

void DiagramPanel::refresh() {
  syncBars();
  repaintAll();
}

void DiagramPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  refresh();
}

void DiagramPanel::zoom(views::Zoom z) {
  if (!active()) return;
  views::applyZoom(view_, z, rulerWidth());
  // The scroll bar cannot go past its end; the cursor keeps its cycle when it stops there.
  const int maxFirst = bars().horizontalMax;
  if (view_.firstCycle > maxFirst && maxFirst >= 0) {
    view_.cursorColumn += view_.firstCycle - maxFirst;
    view_.paintColumn = view_.cursorColumn;
    view_.firstCycle = maxFirst;
  }
  refresh();
}

void DiagramPanel::key(views::Key k) {
  if (!active()) return;
  if (k == views::Key::ZoomIn || k == views::Key::ZoomOut || k == views::Key::ZoomNormal) {
    zoom(k == views::Key::ZoomIn    ? views::Zoom::In
         : k == views::Key::ZoomOut ? views::Zoom::Out
                                    : views::Zoom::Normal);
    return;
  }
  views::handleKey(view_, bench_.test, k, diagram_->width(), rulerWidth(), bars());
  refresh();
}

void DiagramPanel::onKey(int k, Qt::KeyboardModifiers) {
  switch (k) {
    case Qt::Key_Up:
      key(views::Key::Up);
      break;
    case Qt::Key_Down:
      key(views::Key::Down);
      break;
    case Qt::Key_Left:
      key(views::Key::Left);
      break;
    case Qt::Key_Right:
      key(views::Key::Right);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      key(views::Key::ZoomIn);
      break;
    case Qt::Key_Minus:
      key(views::Key::ZoomOut);
      break;
    case Qt::Key_Asterisk:
    case Qt::Key_N:
      key(views::Key::ZoomNormal);
      break;
    default:
      break;
  }
}

void DiagramPanel::clickAt(QPoint at) {
  if (!active()) return;
  if (!views::clickAt(view_, bench_.test, at.x(), at.y())) return;
  // Left of the waveforms the cursor goes to column 0, and the paint puts it on column 1.
  views::normaliseCursor(view_);
  repaintAll();
}

void DiagramPanel::moveCursorToCycle(int cycle) {
  if (!active()) return;
  syncBars();
  views::moveCursorToCycle(view_, cycle, diagram_->width(), bars().horizontalMax);
  refresh();
}

bool DiagramPanel::setMode(views::Mode mode) {
  if (!views::setMode(view_, mode)) return false;
  repaintAll();
  Q_EMIT modeChanged();
  return true;
}

void DiagramPanel::resetAfterLoad() {
  view_.firstRow = 0;
  view_.firstCycle = 0;
  view_.cursorRow = 1;
  view_.cursorPin = bench_.test.rowSignal(1);
  views::fitCellWidth(view_, rulerWidth(), bench_.test.cycleCount);
  refresh();
}

void DiagramPanel::onHorizontal(int position) {
  if (syncing_) return;
  views::scrollCycles(view_, position, hbar_->maximum());
  repaintAll();
}

void DiagramPanel::onVertical(int position) {
  if (syncing_) return;
  views::scrollRows(view_, bench_.test, position, vbar_->maximum());
  repaintAll();
}

void DiagramPanel::onWheel(int steps, bool zoomIt, int x) {
  if (!active()) return;
  if (zoomIt) {
    for (int i = 0; i < std::abs(steps); ++i)
      views::zoomAround(view_, steps > 0 ? views::Zoom::In : views::Zoom::Out, x, diagram_->width(),
                        bench_.test.cycleCount);
    refresh();
    return;
  }
  // Three cycles a notch at normal width, more when the cycles are narrow.
  const int perNotch = std::max(3, views::visibleCycleColumns(view_, diagram_->width()) / 10);
  views::scrollCycles(view_, view_.firstCycle - steps * perNotch, bars().horizontalMax);
  refresh();
}

void DiagramPanel::onHover(QPoint at) {
  const int row = views::rowAt(view_, bench_.test.pinCount, at.y());
  const auto hint = row > 0 ? views::formulaHint(bench_.test, bench_.test.rowSignal(row)) : std::nullopt;
  if (hint) {
    diagram_->setToolTip(QString::fromStdString(*hint));
    diagram_->setToolTipDuration(10000);
  } else {
    diagram_->setToolTip(QString());
    diagram_->setToolTipDuration(3000);
  }
}

}  // namespace qel::gui
