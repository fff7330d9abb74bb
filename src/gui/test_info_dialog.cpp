#include "gui/test_info_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/test_comment.h"
#include "gui/message_box.h"

namespace qel::gui {

namespace {
QLineEdit* readOnlyBox(QVBoxLayout* layout, const QString& title, const char* name, int maxLength) {
  auto* group = new QGroupBox(title);
  auto* row = new QHBoxLayout(group);
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setReadOnly(true);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  row->addWidget(edit);
  layout->addWidget(group);
  return edit;
}
}  // namespace

TestInfoDialog::TestInfoDialog(const QString& testPath, const QString& testName, const QString& chipName,
                               const QString& docPath, Operator& op, QWidget* parent)
    : QDialog(parent), testPath_(testPath), op_(op) {
  setObjectName("fmTestInfo");
  setWindowTitle("Описание Теста");
  openExternally = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
  auto* layout = new QVBoxLayout(this);
  name_ = readOnlyBox(layout, "Название теста", "edName", 60);
  name_->setText(testName);
  chip_ = readOnlyBox(layout, "Название микосхемы", "edSinName", 60);
  chip_->setText(chipName);
  doc_ = readOnlyBox(layout, "Файл описания микросхемы", "edFileTestInfoPath", 0);
  doc_->setText(docPath);
  auto* openDoc = new QPushButton("...");
  openDoc->setObjectName("bbOpenFile");
  doc_->parentWidget()->layout()->addWidget(openDoc);
  connect(openDoc, &QPushButton::clicked, this, [this] {
    if (!doc_->text().isEmpty()) openExternally(doc_->text());
  });

  auto* group = new QGroupBox("Комментарий к тесту");
  auto* box = new QVBoxLayout(group);
  comment_ = new QPlainTextEdit;
  comment_->setObjectName("meTestInfo");
  comment_->setLineWrapMode(QPlainTextEdit::NoWrap);
  comment_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  comment_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  if (const auto text = app::readComment(us(testPath))) comment_->setPlainText(qs(*text));
  box->addWidget(comment_);
  layout->addWidget(group, 1);

  auto* buttons = new QDialogButtonBox;
  auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  buttons->addButton("Отмена", QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &TestInfoDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(420, 420);
}

QString TestInfoDialog::testName() const {
  return name_->text();
}
QString TestInfoDialog::docPath() const {
  return doc_->text();
}

void TestInfoDialog::accept() {
  const std::string failure = app::saveComment(us(testPath_), us(comment_->toPlainText()));
  if (!failure.empty()) {
    op_.message("Комментарий не сохранён в " + app::commentFilePath(us(testPath_)) + ": " + failure,
                Icon::Error);
    return;
  }
  QDialog::accept();
}

}  // namespace qel::gui
