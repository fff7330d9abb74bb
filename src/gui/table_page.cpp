#include "gui/table_page.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "views/word_value.h"

namespace qel::gui {

void WordTableModel::reload() {
  beginResetModel();
  words_ = std::clamp(bench_.test.dataWordCount, 0, kMaxDataWords);
  cycles_ = std::max(0, bench_.test.cycleCount);
  endResetModel();
}

int WordTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return int(std::min<int64_t>(int64_t(words_) * cycles_, 100'000'000));
}

int WordTableModel::rowOfCycle(int cycle) const {
  return words_ > 0 ? words_ * (cycle - 1) : 0;
}
int WordTableModel::cycleOfRow(int row) const {
  return words_ > 0 ? row / words_ + 1 : 0;
}

QVariant WordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || words_ == 0) return {};
  const int cycle = index.row() / words_ + 1;
  const int word = index.row() % words_;
  auto texts = [&] {
    return std::pair{views::formatWordValue(bench_.test, cycle, word, views::Source::Reference),
                     views::formatWordValue(bench_.test, cycle, word, views::Source::Result)};
  };
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case 0:
        return cycle;
      case 1:
        return QString::fromStdString(bench_.test.words[size_t(word)].name);
      case 2:
        return QString::fromStdString(texts().first);
      case 3:
        return QString::fromStdString(texts().second);
    }
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  if ((role == Qt::ForegroundRole || role == Qt::FontRole) && index.column() >= 2 &&
      bench_.errors.errorCount > 0) {
    const auto [reference, result] = texts();
    const bool red = reference != views::kUndefined && reference != result;
    if (!red) return {};
    if (role == Qt::ForegroundRole) return QColor(255, 0, 0);
    QFont f;
    f.setBold(true);
    return f;
  }
  return {};
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* kHeaders[] = {"Такт", "Слово Данных", "Данные (Эталон)", "Данные (Резульат)"};
  return section >= 0 && section < 4 ? QString(kHeaders[section]) : QVariant();
}

TablePage::TablePage(const engine::Bench& bench, QWidget* parent) : QWidget(parent) {
  model_ = new WordTableModel(bench, this);
  view_ = new QTableView(this);
  view_->setObjectName("PBTabl");
  view_->setModel(model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(16);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  const int widths[] = {60, 80, 110, 110};
  for (int i = 0; i < 4; ++i) view_->setColumnWidth(i, widths[i]);
  auto* bar = new QToolBar(this);
  bar->addWidget(new QLabel("Заполнение ", bar));
  auto* gauge = new QProgressBar(bar);
  gauge->setObjectName("TablProgr");
  gauge->setRange(0, 1);
  gauge->setValue(1);
  gauge->setMaximumWidth(160);
  bar->addWidget(gauge);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bar);
  layout->addWidget(view_, 1);
}

void TablePage::reload() {
  model_->reload();
  const int widths[] = {60, 80, 110, 110};
  for (int i = 0; i < 4; ++i) view_->setColumnWidth(i, widths[i]);
}

void TablePage::selectCycle(int cycle) {
  if (model_->rowCount() == 0) return;
  const int row = std::clamp(model_->rowOfCycle(cycle), 0, model_->rowCount() - 1);
  view_->selectRow(row);
  view_->scrollTo(model_->index(std::max(0, row - 5), 0), QAbstractItemView::PositionAtTop);
}

int TablePage::selectedCycle() const {
  const auto rows = view_->selectionModel()->selectedRows();
  return rows.isEmpty() ? 0 : model_->cycleOfRow(rows.front().row());
}

}  // namespace qel::gui
