#pragma once
// TfmTestInfo, "Описание Теста": the test's name, the chip's name, its documentation file and
// the free comment kept beside the test file.

#include <QDialog>
#include <functional>

#include "operator/operator.h"

class QLineEdit;
class QPlainTextEdit;

namespace qel::gui {

class TestInfoDialog : public QDialog {
  Q_OBJECT
 public:
  // testPath names the test whose comment file is shown and, on OK, written.
  TestInfoDialog(const QString& testPath, const QString& testName, const QString& chipName,
                 const QString& docPath, Operator& op, QWidget* parent = nullptr);

  QString testName() const;
  QString docPath() const;
  QLineEdit* nameEdit() const { return name_; }
  QPlainTextEdit* comment() const { return comment_; }

  // OK: the comment is written first; when that fails the dialog stays open, so nothing typed
  // is lost.
  void accept() override;

  // Shell open of the documentation; tests replace it.
  std::function<void(const QString& path)> openExternally;

 private:
  QString testPath_;
  Operator& op_;
  QLineEdit* name_;
  QLineEdit* chip_;
  QLineEdit* doc_;
  QPlainTextEdit* comment_;
};

}  // namespace qel::gui
