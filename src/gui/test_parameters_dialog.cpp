#include "gui/test_parameters_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/test_engine.h"

namespace qel::gui {

namespace {
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

TestParametersDialog::TestParametersDialog(engine::TestEngine& engine, TestDescription& test, Operator& op,
                                           QWidget* parent)
    : QDialog(parent), engine_(engine), test_(test), op_(op) {
  setObjectName("fmParamTest");
  setWindowTitle("Параметры тестирования");
  auto* main = new QGroupBox("Параметры тестирования", this);
  auto* mf = new QFormLayout(main);
  one_ = new QLineEdit(main);
  zero_ = new QLineEdit(main);
  cycleTime_ = new QComboBox(main);
  for (int i = 1; i <= 8; ++i) cycleTime_->addItem(QString::number(i));
  cycleTime_->setEditable(true);
  mf->addRow("Логическая единица не менее", one_);
  mf->addRow("Логический ноль не более", zero_);
  mf->addRow("Такт, мкс", cycleTime_);
  auto* extra = new QGroupBox("Дополнительно:", this);
  auto* ef = new QFormLayout(extra);
  minSupply_ = new QLineEdit(extra);
  maxGround_ = new QLineEdit(extra);
  delay_ = new QLineEdit(extra);
  ef->addRow("Минимальный уровень (VCCmin)", minSupply_);
  ef->addRow("Максимальный  уровень (U_GNDmax)", maxGround_);
  ef->addRow("Задержка при включении питания, мс", delay_);

  auto* okButton = new QPushButton("ОК", this);
  auto* defaultsButton = new QPushButton("По Умолчанию", this);
  auto* calibrateButton = new QPushButton("Автокалибровка", this);
  auto* cancel = new QPushButton("Отмена", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaultsButton);
  buttons->addWidget(calibrateButton);
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(main);
  layout->addWidget(extra);
  layout->addLayout(buttons);

  connect(okButton, &QPushButton::clicked, this, &TestParametersDialog::ok);
  connect(defaultsButton, &QPushButton::clicked, this, &TestParametersDialog::defaults);
  connect(calibrateButton, &QPushButton::clicked, this, &TestParametersDialog::calibrate);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // While typing, a threshold above its limit is replaced by the limit.
  auto limit = [](QLineEdit* edit, bool logicOne) {
    connect(edit, &QLineEdit::textEdited, edit, [edit, logicOne](const QString& text) {
      if (auto replaced = engine::typedThresholdLimit(text.toStdString(), logicOne))
        edit->setText(q(*replaced));
    });
  };
  limit(one_, true);
  limit(zero_, false);
  showFields(engine::showParameters(test_, engine_.settings()));
}

engine::ParameterFields TestParametersDialog::fields() const {
  engine::ParameterFields f;
  f.logicOne = one_->text().toStdString();
  f.logicZero = zero_->text().toStdString();
  f.minSupply = minSupply_->text().toStdString();
  f.maxGround = maxGround_->text().toStdString();
  f.powerUpDelay = delay_->text().toStdString();
  f.cycleTime = cycleTime_->currentText().toStdString();
  return f;
}

void TestParametersDialog::showFields(const engine::ParameterFields& f) {
  one_->setText(q(f.logicOne));
  zero_->setText(q(f.logicZero));
  minSupply_->setText(q(f.minSupply));
  maxGround_->setText(q(f.maxGround));
  delay_->setText(q(f.powerUpDelay));
  cycleTime_->setCurrentText(q(f.cycleTime));
}

void TestParametersDialog::ok() {
  auto f = fields();
  // An unparsable threshold has been reported; the dialog still closes as with OK.
  engine::applyParameters(f, engine_.settings().levels.u0, test_, engine_.settings(), op_);
  showFields(f);
  accept();
}

void TestParametersDialog::defaults() {
  engine::defaultParameters(test_, engine_.settings());
  showFields(engine::showParameters(test_, engine_.settings()));
}

void TestParametersDialog::calibrate() {
  auto f = fields();
  engine::autocalibrate(engine_, f, test_, engine_.settings(), op_);
  showFields(f);
  accept();
}

}  // namespace qel::gui
