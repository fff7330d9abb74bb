#pragma once
// The page "Таблица": one row per cycle and data word, computed when it comes into view, so a
// test of any length opens at once.

#include <QAbstractTableModel>
#include <QWidget>

#include "engine/bench.h"

class QTableView;

namespace qel::gui {

class WordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit WordTableModel(const engine::Bench& bench, QObject* parent = nullptr)
      : QAbstractTableModel(parent), bench_(bench) {}
  void reload();
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Row of (cycle, word 0).
  int rowOfCycle(int cycle) const;
  int cycleOfRow(int row) const;

 private:
  const engine::Bench& bench_;
  int words_ = 0;
  int cycles_ = 0;
};

class TablePage : public QWidget {
  Q_OBJECT
 public:
  explicit TablePage(const engine::Bench& bench, QWidget* parent = nullptr);
  void reload();
  void selectCycle(int cycle);
  // Cycle of the selected row, 0 when none.
  int selectedCycle() const;
  WordTableModel* model() const { return model_; }

 private:
  WordTableModel* model_;
  QTableView* view_;
};

}  // namespace qel::gui
