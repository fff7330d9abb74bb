#include "gui/reference_book_dialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/message_box.h"

namespace qel::gui {

ReferenceBookDialog::ReferenceBookDialog(app::Settings& settings, Operator& op, QWidget* parent)
    : QDialog(parent), settings_(settings), op_(op) {
  setObjectName("fmSinonim");
  setWindowTitle("Открытие тестов по названию микросхемы");
  openExternally = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Справочник:"), 0, 0);
  bookEdit_ = new QLineEdit;
  bookEdit_->setObjectName("edFileSpr");
  bookEdit_->setReadOnly(true);
  grid->addWidget(bookEdit_, 0, 1);
  auto* choose = new QPushButton("...");
  choose->setObjectName("BitBtn1");
  choose->setToolTip("Открыть справочник");
  grid->addWidget(choose, 0, 2);
  connect(choose, &QPushButton::clicked, this, &ReferenceBookDialog::openBook);

  grid->addWidget(new QLabel("Поиск микросхемы по названию"), 1, 0, 1, 3);
  search_box_ = new QLineEdit;
  search_box_->setObjectName("Ishodnik");
  grid->addWidget(search_box_, 2, 0, 1, 3);
  connect(search_box_, &QLineEdit::textChanged, this, &ReferenceBookDialog::runSearch);

  grid->addWidget(new QLabel("Выберете требуемую микросхему."), 3, 0, 1, 3);
  list_ = new QListWidget;
  list_->setObjectName("AllSinonims");
  list_->setUniformItemSizes(true);
  grid->addWidget(list_, 4, 0, 1, 3);
  connect(list_, &QListWidget::currentRowChanged, this, &ReferenceBookDialog::showSelection);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    Q_EMIT chipChosen();
    accept();
  });

  grid->addWidget(new QLabel("Тестовый файл микросхемы"), 5, 0, 1, 3);
  testFile_ = new QLineEdit;
  testFile_->setObjectName("eFile");
  testFile_->setReadOnly(true);
  grid->addWidget(testFile_, 6, 0, 1, 3);
  grid->addWidget(new QLabel("Файл описания микросхемы"), 7, 0, 1, 3);
  docFile_ = new QLineEdit;
  docFile_->setObjectName("edFileInfo");
  docFile_->setReadOnly(true);
  grid->addWidget(docFile_, 8, 0, 1, 2);
  auto* openDoc = new QPushButton("...");
  openDoc->setObjectName("bbOpenFile");
  openDoc->setToolTip("Открыть файл описания");
  grid->addWidget(openDoc, 8, 2);
  connect(openDoc, &QPushButton::clicked, this, &ReferenceBookDialog::openDocumentation);

  auto* buttons = new QDialogButtonBox;
  auto* open = buttons->addButton("Открыть", QDialogButtonBox::AcceptRole);
  open->setObjectName("bOpen");
  open->setDefault(true);
  buttons->addButton("Отмена", QDialogButtonBox::RejectRole)->setObjectName("bCancel");
  grid->addWidget(buttons, 9, 0, 1, 3);
  connect(open, &QPushButton::clicked, this, [this] {
    Q_EMIT chipChosen();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto shortcut = [this](const char* keys, const char* name, void (ReferenceBookDialog::*slot)()) {
    auto* a = new QAction(this);
    a->setObjectName(name);
    a->setShortcut(QKeySequence(keys));
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
  };
  shortcut("Ctrl+N", "FileNew1", &ReferenceBookDialog::clearBook);
  shortcut("Ctrl+O", "FileOpen1", &ReferenceBookDialog::openBook);
  shortcut("Ctrl+S", "FileSave1", &ReferenceBookDialog::saveBook);
  resize(420, 460);
}

app::BookFolders ReferenceBookDialog::folders() const {
  return app::bookFolders(settings_.dirTests, settings_.dirPdf, us(bookPath_));
}

void ReferenceBookDialog::loadRemembered() {
  const QString path = qs(settings_.referenceBook);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return;  // a missing book is no message
  loadBookFile(path);
}

bool ReferenceBookDialog::loadBookFile(const QString& path) {
  bookPath_ = path;
  if (!book_.loadBook(us(path), folders(), op_))
    bookPath_.clear();
  else
    settings_.referenceBook = us(path);
  bookEdit_->setText(bookPath_);
  runSearch();
  return !bookPath_.isEmpty();
}

void ReferenceBookDialog::openBook() {
  const auto path = op_.chooseFile({app::kBookOpenFilter, app::kBookExtension, false, {}});
  if (!path || !QFileInfo(qs(*path)).isFile()) return;
  loadBookFile(qs(*path));
}

void ReferenceBookDialog::saveBook() {
  const auto path = op_.chooseFile({app::kBookSaveFilter, app::kBookExtension, true, {}});
  if (!path) return;
  if (QFileInfo::exists(qs(*path)) && !op_.ask("Заменить существующий файл?")) return;
  const std::string failure = book_.saveBook(*path);
  if (!failure.empty()) {
    op_.message("Справочник не сохранён: " + failure, Icon::Error);
    return;
  }
  bookPath_ = qs(*path);
  bookEdit_->setText(bookPath_);
}

void ReferenceBookDialog::clearBook() {
  book_.clearBook();
  runSearch();
}

void ReferenceBookDialog::setSearchText(const QString& text) {
  if (search_box_->text() == text)
    runSearch();  // an unchanged text still searches
  else
    search_box_->setText(text);
}

void ReferenceBookDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  runSearch();
}

void ReferenceBookDialog::runSearch() {
  // The box shows what is searched: the text in upper case, the caret where it was.
  const QString upper = search_box_->text().toUpper();
  if (upper != search_box_->text()) {
    const int caret = search_box_->cursorPosition();
    const QSignalBlocker quiet(search_box_);
    search_box_->setText(upper);
    search_box_->setCursorPosition(caret);
  }
  search_ = book_.search(us(upper));
  const QSignalBlocker quiet(list_);
  list_->clear();
  QStringList lines;
  lines.reserve(qsizetype(search_.matches.size()));
  for (const auto& m : search_.matches) lines << qs(book_.name(m).chipTitle);
  list_->addItems(lines);
  if (search_.matchingFiles > 0) list_->setCurrentRow(0);
  showSelection();
}

bool ReferenceBookDialog::hasSelection() const {
  const int row = list_->currentRow();
  return row >= 0 && size_t(row) < search_.matches.size();
}

QString ReferenceBookDialog::selectedTestPath() const {
  if (!hasSelection()) return {};
  const auto& m = search_.matches[size_t(list_->currentRow())];
  return qs(app::replaceTestsPrefix(book_.entries()[m.entry].testPath, folders()));
}

QString ReferenceBookDialog::selectedChipTitle() const {
  return hasSelection() ? qs(book_.name(search_.matches[size_t(list_->currentRow())]).chipTitle) : QString();
}

QString ReferenceBookDialog::selectedDocPath() const {
  if (!hasSelection()) return {};
  return qs(
      app::replaceDescPrefix(book_.name(search_.matches[size_t(list_->currentRow())]).docPath, folders()));
}

QString ReferenceBookDialog::docFileName() const {
  return docFile_->text();
}

void ReferenceBookDialog::showSelection() {
  if (!hasSelection()) {
    testFile_->clear();
    docFile_->clear();
    return;
  }
  const auto& m = search_.matches[size_t(list_->currentRow())];
  testFile_->setText(qs(app::fileNamePart(book_.entries()[m.entry].testPath)));
  docFile_->setText(qs(app::fileNamePart(book_.name(m).docPath)));
}

void ReferenceBookDialog::openDocumentation() {
  const QString path = selectedDocPath();
  if (path.isEmpty()) return;
  if (!QFileInfo(path).isFile()) {
    op_.message("Файл описания не найден: " + us(path), Icon::Warning);
    return;
  }
  openExternally(path);
}

}  // namespace qel::gui
