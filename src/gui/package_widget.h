#pragma once
// PBCorpus: the chip from above with the contact findings beside each pin.

#include <QWidget>
#include <vector>

#include "model/test_description.h"
#include "views/package_view.h"

class QAction;

namespace qel::gui {

class PackageWidget : public QWidget {
  Q_OBJECT
 public:
  PackageWidget(const TestDescription& test, const std::vector<views::ContactFinding>& findings,
                const views::Thresholds& thresholds, QWidget* parent = nullptr);

  const views::PackageGeometry& geometry() const { return geometry_; }
  // The popup menu's items: "Напряжение", "Логическое сосотяние", "Тип ноги".
  QAction* voltageItem() const { return voltage_; }
  QAction* stateItem() const { return state_; }
  QAction* typeItem() const { return type_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void columnsChanged();
  void paintPin(QPainter& p, int pin);

  const TestDescription& test_;
  const std::vector<views::ContactFinding>& findings_;
  const views::Thresholds& thresholds_;
  views::PackageGeometry geometry_;
  QAction* voltage_;
  QAction* state_;
  QAction* type_;
};

}  // namespace qel::gui
