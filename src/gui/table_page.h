#pragma once
// The page "Таблица": one row per cycle and data word (two per address for a ROM read-out),
// filled by a worker ahead of the user while the view computes the visible rows it lacks.

#include <QAbstractTableModel>
#include <QTimer>
#include <QWidget>

#include "engine/bench.h"
#include "views/table_rows.h"

class QProgressBar;
class QTableView;
class QToolBar;

namespace qel::gui {

class WordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit WordTableModel(const engine::Bench& bench, QObject* parent = nullptr);
  // The test changed: the rows are laid out again and the fill starts over when asked.
  void reload();
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Row that shows a cycle.
  int rowOfCycle(int cycle) const;
  int cycleOfRow(int row) const;
  views::TableRows& rows() { return rows_; }

 private:
  const engine::Bench& bench_;
  mutable views::TableRows rows_;
};

class TablePage : public QWidget {
  Q_OBJECT
 public:
  explicit TablePage(const engine::Bench& bench, QWidget* parent = nullptr);
  void reload();
  // Starts the fill (the page is shown, or a search needs the rows).
  void startFill();
  // Stops the fill before a run writes the test.
  void stopFill();
  void selectCycle(int cycle);
  // Cycle of the selected row, 0 when none.
  int selectedCycle() const;
  WordTableModel* model() const { return model_; }
  QProgressBar* gauge() const { return gauge_; }
  QTableView* view() const { return view_; }
  QToolBar* toolBar() const { return bar_; }

 Q_SIGNALS:
  // SpeedButton15 of the page's tool bar.
  void searchRequested();
  // "Сохранить CSV..." of the page's tool bar.
  void csvRequested();
  // The test is about to change: whoever reads the rows stops.
  void rowsStopped();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void showProgress();
  void setColumnWidths();

  const engine::Bench& bench_;
  WordTableModel* model_;
  QTableView* view_;
  QToolBar* bar_;
  QProgressBar* gauge_;
  QTimer progressTimer_;
};

}  // namespace qel::gui
