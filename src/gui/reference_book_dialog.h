#pragma once
// TfmSinonim, "Открытие тестов по названию микросхемы": the chip reference book, searched by
// any part of a chip's name. Made once with the main window; it keeps its book and last search.

#include <QDialog>
#include <functional>

#include "app/reference_book.h"
#include "app/settings.h"
#include "operator/operator.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qel::gui {

class ReferenceBookDialog : public QDialog {
  Q_OBJECT
 public:
  ReferenceBookDialog(app::Settings& settings, Operator& op, QWidget* parent = nullptr);

  // The book named by "FileSprav", when that file exists (construction).
  void loadRemembered();
  // Clears the book and loads path; "FileSprav" becomes it. False when it cannot be read.
  bool loadBookFile(const QString& path);
  void openBook();   // FileOpen1Execute, "Открыть справочник"
  void saveBook();   // FileSave1Execute
  void clearBook();  // FileNew1
  // Puts the text into the search box, which searches (IshodnikChange).
  void setSearchText(const QString& text);
  void openDocumentation();  // bbOpenFileClick

  const app::ReferenceBook& book() const { return book_; }
  const app::BookSearch& lastSearch() const { return search_; }
  int matchingFiles() const { return search_.matchingFiles; }
  QString bookPath() const { return bookPath_; }
  bool hasSelection() const;
  QString selectedTestPath() const;  // "<Tests>:" replaced
  QString selectedChipTitle() const;
  QString selectedDocPath() const;  // "<Desc>:" replaced, empty without a selection
  // The documentation file name shown in edFileInfo.
  QString docFileName() const;

  QLineEdit* searchBox() const { return search_box_; }
  QListWidget* resultList() const { return list_; }

  // Shell open of documentation; tests replace it.
  std::function<void(const QString& path)> openExternally;

 Q_SIGNALS:
  // "Открыть" or a double click: the main window loads the selected chip's test.
  void chipChosen();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void runSearch();
  void showSelection();  // AllSinonimsClick
  app::BookFolders folders() const;

  app::Settings& settings_;
  Operator& op_;
  app::ReferenceBook book_;
  app::BookSearch search_;
  QString bookPath_;
  QLineEdit* bookEdit_;
  QLineEdit* search_box_;
  QListWidget* list_;
  QLineEdit* testFile_;
  QLineEdit* docFile_;
};

}  // namespace qel::gui
