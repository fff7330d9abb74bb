#pragma once
// TfmParamProg, "Настройки программы": the four run options.

#include <QDialog>

#include "app/settings.h"

class QCheckBox;

namespace qel::gui {

class GuiOperator;

class ProgramOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  ProgramOptionsDialog(const app::Settings& settings, GuiOperator& op, QWidget* parent = nullptr);
  // What "&OK" stores.
  void store(app::Settings& settings) const;
  QCheckBox* continueBox() const { return continue_; }
  void setDefaults();  // "По &умолчанию"

 private:
  GuiOperator& op_;
  QCheckBox* shortTest_;
  QCheckBox* vccOff_;
  QCheckBox* continue_;
  QCheckBox* channels_;
};

}  // namespace qel::gui
