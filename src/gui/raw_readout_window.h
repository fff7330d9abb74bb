#pragma once
// Tfmrkdk: the raw words of the first block, one row per channel and one column per word, drawn
// as far as it is visible so that all 8197 columns scroll smoothly.

#include <QAbstractScrollArea>

#include "tester/tester_link.h"

namespace qel::gui {

class RawReadoutWindow : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int kChannels = 32, kWords = 8197;
  static constexpr int kCellWidth = 32, kCellHeight = 16, kHeaderWidth = 34;

  explicit RawReadoutWindow(QWidget* parent = nullptr);
  tester::RawGrid& grid() { return grid_; }
  // After the grid was filled.
  void refresh();
  // Cells painted by the last paint; a test sees that a paint stays within the view.
  int paintedCells() const { return painted_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void updateBars();
  tester::RawGrid grid_;
  int painted_ = 0;
};

}  // namespace qel::gui
