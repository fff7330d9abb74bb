#pragma once
// PBCorpus: the chip from above with the contact findings beside each pin.

#include <QWidget>
#include <vector>

#include "engine/bench.h"
#include "gui/run_picture.h"
#include "model/level_thresholds.h"
#include "views/package_view.h"

class QAction;

namespace qel::gui {

class PackageWidget : public QWidget {
  Q_OBJECT
 public:
  PackageWidget(const engine::Bench& bench, const LevelThresholds& thresholds, QWidget* parent = nullptr);

  const views::PackageGeometry& geometry() const { return geometry_; }
  // The popup menu's items: "Напряжение", "Логическое сосотяние", "Тип ноги".
  QAction* voltageItem() const { return voltage_; }
  QAction* stateItem() const { return state_; }
  QAction* typeItem() const { return type_; }
  // Leads coloured by fault coverage, index = pin: 0 as usual, 1 every fault found, 2 some missed;
  // empty for none.
  void setPinCoverage(std::vector<int> states);
  const std::vector<int>& pinCoverage() const { return coverage_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void columnsChanged();
  void paintPackage(QPainter& p);
  void paintPin(QPainter& p, int pin);

  const engine::Bench& bench_;
  const TestDescription& test_;
  const LevelThresholds& thresholds_;
  RunPicture picture_;
  views::PackageGeometry geometry_;
  QAction* voltage_;
  QAction* state_;
  QAction* type_;
  std::vector<int> coverage_;
};

}  // namespace qel::gui
