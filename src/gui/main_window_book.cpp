// Reaching a test by the chip's name: the chip-name box, the reference book, the test's
// description.

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/reference_book.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/reference_book_dialog.h"
#include "gui/test_info_dialog.h"

namespace qel::gui {

namespace {

// NamesKeyDown and NamesExit: Enter in the box's editor, and the editor losing the focus.
class NamesWatch : public QObject {
 public:
  NamesWatch(QObject* parent, std::function<void()> enter, std::function<void()> lost)
      : QObject(parent), enter_(std::move(enter)), lost_(std::move(lost)) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    // Another window coming up (a question, the list) does not take the user out of the box.
    if (e->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(e)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) lost_();
    }
    if (e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enter_();
        return true;
      }
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> enter_;
  std::function<void()> lost_;
};

}  // namespace

void MainWindow::setUpChipNames() {
  book_ = new ReferenceBookDialog(settings_, op_, this);
  book_->loadRemembered();
  connect(book_, &ReferenceBookDialog::chipChosen, this, &MainWindow::openChipFromBook);
  connect(names_, &QComboBox::editTextChanged, this, &MainWindow::namesChange);
  QLineEdit* edit = names_->lineEdit();
  edit->installEventFilter(new NamesWatch(
      edit, [this] { namesChange(); }, [this] { namesExit(); }));
}

void MainWindow::setNamesText(const QString& text) {
  const bool was = nameBoxActive_;
  nameBoxActive_ = false;
  names_->setEditText(text);
  nameBoxActive_ = was;
}

void MainWindow::showReferenceBook() {
  book_->exec();
}

void MainWindow::openChipFromBook() {
  if (!book_->hasSelection() || bench_.busy()) return;
  loadFile(book_->selectedTestPath());
  bench_.test.descriptionFile = us(book_->docFileName());
  bench_.test.chipName = us(book_->selectedChipTitle());
  setNamesText(book_->selectedChipTitle());
}

void MainWindow::namesChange() {
  if (!nameBoxActive_) return;
  const QString text = names_->currentText().toUpper();
  if (text.isEmpty()) return;
  nameBoxActive_ = false;
  book_->setSearchText(text);
  const auto lookup = app::judgeLookup(book_->book(), book_->lastSearch());
  if (lookup.outcome == app::ChipLookup::Outcome::Found) {
    const QString chip = book_->selectedChipTitle();
    if (!op_.ask(app::chipFoundQuestion(us(chip)))) {
      // Put back without reacting, or the chip on the bench would be offered next.
      names_->setEditText(qs(bench_.test.chipName));
      nameBoxActive_ = true;
      return;
    }
    if (!bench_.busy()) {
      loadFile(book_->selectedTestPath());
      bench_.test.descriptionFile = us(book_->docFileName());
      bench_.test.chipName = us(chip);
    }
    names_->setEditText(qs(bench_.test.chipName));
  } else if (lookup.outcome == app::ChipLookup::Outcome::NotFound) {
    names_->setEditText(QString());
    op_.message(app::kChipFileNotFound, Icon::Error);
  }
  nameBoxActive_ = true;
}

void MainWindow::namesExit() {
  setNamesText(qs(bench_.test.chipName));
}

void MainWindow::showTestInfo() {
  auto& t = bench_.test;
  if (t.fileName.empty()) {
    op_.message("Сначала необходимо открыть файл", Icon::Warning);
    return;
  }
  // The documentation of the chip last chosen in the book, when that file is there.
  const QString doc = book_->selectedDocPath();
  t.descriptionFile = !doc.isEmpty() && QFileInfo(doc).isFile() ? us(doc) : std::string();
  TestInfoDialog dialog(qs(t.fileName), qs(t.testNames[1]), qs(t.chipName), qs(t.descriptionFile), op_, this);
  const int outcome = onTestInfo ? (onTestInfo(dialog), dialog.result()) : dialog.exec();
  if (outcome != QDialog::Accepted) return;
  t.testNames[1] = us(dialog.testName());
  t.descriptionFile = us(dialog.docPath());
}

}  // namespace qel::gui
