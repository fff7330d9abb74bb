#include "gui/run_picture.h"

#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qel::gui {

namespace {
constexpr int kRetryMs = 30;
}

void RunPicture::paint(QWidget& widget, QPainter& painter, std::mutex& dataMutex, bool running,
                       const std::function<void(QPainter&)>& draw) {
  if (!running) {
    draw(painter);
    return;
  }
  std::unique_lock lock(dataMutex, std::try_to_lock);
  if (lock.owns_lock()) {
    const qreal ratio = widget.devicePixelRatioF();
    if (last_.size() != widget.size() * ratio) {
      last_ = QImage(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
      last_.setDevicePixelRatio(ratio);
    }
    QPainter into(&last_);
    draw(into);
  } else {
    QTimer::singleShot(kRetryMs, &widget, [w = QPointer<QWidget>(&widget)] {
      if (w) w->update();
    });
  }
  if (!last_.isNull()) painter.drawImage(0, 0, last_);
}

}  // namespace qel::gui
