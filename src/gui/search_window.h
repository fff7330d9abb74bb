#pragma once
// TFSearch, "Поиск по значению": the cycles in which a data word shows a value, by the reference
// or the result, searched in slices with progress; a double click goes to the cycle.

#include <QTimer>
#include <QWidget>
#include <memory>

#include "views/value_search.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace qel::gui {

class SearchResultsModel;

class SearchWindow : public QWidget {
  Q_OBJECT
 public:
  SearchWindow(const TestDescription& test, views::TableRows& rows, QWidget* parent = nullptr);
  ~SearchWindow() override;
  // acSearchExecute: the word names again, a word selected and a value proposed.
  void prepare(int word, const QString& value);
  // BitBtn1Click, "Найти".
  void find();
  // Stops a search in progress (the test changes).
  void cancel();
  bool searching() const { return search_ != nullptr; }
  // The listed cycles; the grid shows one empty row when there are none.
  QList<int> listedCycles() const;
  int selectedCycle() const { return selectedCycle_; }
  QLineEdit* valueField() const { return edit_; }
  QComboBox* wordSelector() const { return word_; }
  QTableView* grid() const { return grid_; }
  QProgressBar* progress() const { return progress_; }
  // TablDblClick on a grid row.
  void chooseRow(int row);

 Q_SIGNALS:
  void cycleChosen(int cycle);
  void finished();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void slice();

  const TestDescription& test_;
  views::TableRows& rows_;
  std::unique_ptr<views::ValueSearch> search_;
  QLineEdit* edit_;
  QComboBox* word_;
  QPushButton* find_;
  QTableView* grid_;
  SearchResultsModel* results_;
  QProgressBar* progress_;
  QTimer slices_;
  int selectedCycle_ = 0;
};

}  // namespace qel::gui
