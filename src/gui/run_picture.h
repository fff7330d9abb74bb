#pragma once
// A widget's picture of data a run's worker may be writing: painted at once while no run goes on,
// under the data lock when it is free, and otherwise the last picture is shown and painting is
// tried again shortly, so that the GUI thread never waits for the worker.

#include <QImage>
#include <functional>
#include <mutex>

class QPainter;
class QWidget;

namespace qel::gui {

class RunPicture {
 public:
  void paint(QWidget& widget, QPainter& painter, std::mutex& dataMutex, bool running,
             const std::function<void(QPainter&)>& draw);

 private:
  QImage last_;  // kept at the screen's resolution
};

}  // namespace qel::gui
