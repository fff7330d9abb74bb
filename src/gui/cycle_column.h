#pragma once
// AColumn: the levels of every row in the cursor cycle, with the cycle number on top.

#include <QWidget>

#include "model/test_description.h"
#include "views/diagram_view.h"

namespace qel::gui {

class CycleColumn : public QWidget {
  Q_OBJECT
 public:
  CycleColumn(const TestDescription& test, const views::DiagramView& view, QWidget* parent = nullptr);
  static constexpr int kHeaderHeight = 19;
  // The digit shown for a row in the cursor cycle: "0", "1" or "x"; red when it is a mismatch.
  struct Cell {
    char digit;
    bool red;
  };
  static Cell cellOf(const TestDescription& test, int slot, int cycle, bool result);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const TestDescription& test_;
  const views::DiagramView& view_;
};

}  // namespace qel::gui
