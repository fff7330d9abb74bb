#include "gui/wait_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qel::gui {

WaitWindow::WaitWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("FWait");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  gauge_ = new QProgressBar(this);
  layout->addWidget(label_);
  layout->addWidget(gauge_);
  resize(320, 90);
}

void WaitWindow::showWith(const QString& caption, const QString& label) {
  setWindowTitle(caption);
  label_->setText(label);
  gauge_->setValue(gauge_->minimum());
  show();
  // The load runs on this thread; paint the window before it starts.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitWindow::setLabel(const QString& label) {
  label_->setText(label);
}
void WaitWindow::setGaugeVisible(bool visible) {
  gauge_->setVisible(visible);
}
void WaitWindow::setRange(int minimum, int maximum) {
  gauge_->setRange(minimum, std::max(minimum, maximum));
}
void WaitWindow::setProgress(int position) {
  gauge_->setValue(position);
}

}  // namespace qel::gui
