#pragma once
// TfmParamTest, "Параметры тестирования": input thresholds, cycle time, the supply and ground
// levels of the contact test, the power-up delay, autocalibration of U0.

#include <QDialog>

#include "engine/parameters.h"

class QComboBox;
class QLineEdit;

namespace qel::engine {
class TestEngine;
}

namespace qel::gui {

class TestParametersDialog : public QDialog {
  Q_OBJECT
 public:
  TestParametersDialog(engine::TestEngine& engine, TestDescription& test, Operator& op,
                       QWidget* parent = nullptr);
  engine::ParameterFields fields() const;
  void showFields(const engine::ParameterFields& f);

 private:
  void ok();
  void defaults();
  void calibrate();

  engine::TestEngine& engine_;
  TestDescription& test_;
  Operator& op_;
  QLineEdit* one_;
  QLineEdit* zero_;
  QComboBox* cycleTime_;
  QLineEdit* minSupply_;
  QLineEdit* maxGround_;
  QLineEdit* delay_;
};

}  // namespace qel::gui
