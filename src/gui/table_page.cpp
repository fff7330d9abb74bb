#include "gui/table_page.h"

#include <QAction>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "views/word_value.h"

namespace qel::gui {

namespace {
constexpr int kRowHeight = 16;
constexpr int kProgressMs = 100;
const int kWidths[] = {60, 80, 110, 110};
const char* const kHeaders[] = {"Такт", "Слово Данных", "Данные (Эталон)", "Данные (Резульат)"};
// A view of Qt's item views counts rows in int.
constexpr int64_t kMaxViewRows = 2'000'000'000;
}  // namespace

WordTableModel::WordTableModel(const engine::Bench& bench, QObject* parent)
    : QAbstractTableModel(parent), bench_(bench), rows_(bench.test) {}

void WordTableModel::reload() {
  beginResetModel();
  rows_.invalidate();
  endResetModel();
}

int WordTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return int(std::min(rows_.rowCount(), kMaxViewRows));
}

int WordTableModel::rowOfCycle(int cycle) const {
  return int(std::min(rows_.rowOfCycle(cycle), kMaxViewRows));
}
int WordTableModel::cycleOfRow(int row) const {
  return std::max(0, rows_.layout().cellOf(row).cycle);
}

QVariant WordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::FontRole) return {};
  const views::TableRow r = rows_.row(index.row());
  if (r.cycle < 0) return {};
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case 0:
        return r.cycle;
      case 1:
        return qs(bench_.test.words[size_t(r.word)].name);
      case 2:
        return qs(r.reference);
      case 3:
        return qs(r.result);
    }
    return {};
  }
  const bool red = index.column() >= 2 && bench_.errors.errorCount > 0 && r.reference != views::kUndefined &&
                   r.reference != r.result;
  if (!red) return {};
  if (role == Qt::ForegroundRole) return QColor(255, 0, 0);
  QFont f;
  f.setBold(true);
  return f;
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section >= 0 && section < 4 ? QString(kHeaders[section]) : QVariant();
}

TablePage::TablePage(const engine::Bench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
  model_ = new WordTableModel(bench, this);
  view_ = new QTableView(this);
  view_->setObjectName("PBTabl");
  view_->setModel(model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setWordWrap(false);
  setColumnWidths();
  bar_ = new QToolBar(this);
  bar_->setObjectName("ToolBarTabl");
  bar_->addWidget(new QLabel("Заполнение ", bar_));
  gauge_ = new QProgressBar(bar_);
  gauge_->setObjectName("TablProgr");
  gauge_->setRange(0, 1);
  gauge_->setValue(0);
  gauge_->setMaximumWidth(160);
  bar_->addWidget(gauge_);
  bar_->addSeparator();
  QAction* find = bar_->addAction("Найти...");
  find->setObjectName("SpeedButton15");
  find->setToolTip("Найти такт по данным слова");
  connect(find, &QAction::triggered, this, &TablePage::searchRequested);
  QAction* csv = bar_->addAction("Сохранить CSV...");
  csv->setObjectName("acTableCsv");
  csv->setToolTip("Строки таблицы в файл CSV");
  connect(csv, &QAction::triggered, this, &TablePage::csvRequested);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bar_);
  layout->addWidget(view_, 1);
  progressTimer_.setInterval(kProgressMs);
  connect(&progressTimer_, &QTimer::timeout, this, &TablePage::showProgress);
}

void TablePage::setColumnWidths() {
  // Wide enough for the largest cycle number and the headers in the font of this screen.
  const QFontMetrics cells(view_->font());
  const QFontMetrics headers(view_->horizontalHeader()->font());
  for (int i = 0; i < 4; ++i) {
    int w = std::max(kWidths[i], headers.horizontalAdvance(kHeaders[i]) + 16);
    if (i == 0) w = std::max(w, cells.horizontalAdvance("16000000") + 12);
    view_->setColumnWidth(i, w);
  }
}

void TablePage::reload() {
  model_->reload();
  setColumnWidths();
  showProgress();
  if (isVisible()) startFill();
}

void TablePage::startFill() {
  // A run writes the test; the rows are computed as they are shown until it ends.
  if (bench_.busy()) return;
  model_->rows().start();
  showProgress();
  if (model_->rows().filling()) progressTimer_.start();
}

void TablePage::stopFill() {
  Q_EMIT rowsStopped();
  model_->rows().stop();
  showProgress();
}

void TablePage::showProgress() {
  auto& rows = model_->rows();
  const int64_t steps = rows.steps();
  // QProgressBar counts in int; a million steps fit, sixteen million too.
  gauge_->setRange(0, int(std::max<int64_t>(1, steps)));
  gauge_->setValue(int(std::min<int64_t>(rows.progress(), std::max<int64_t>(1, steps))));
  if (!rows.filling()) {
    progressTimer_.stop();
    view_->viewport()->update();
  }
}

void TablePage::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  startFill();
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
