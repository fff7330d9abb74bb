#include "gui/search_window.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/message_box.h"

namespace qel::gui {

namespace {
// Rows looked at per slice: a few milliseconds, so that the window keeps answering.
constexpr int64_t kSliceRows = 50'000;
}  // namespace

class SearchResultsModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void show(std::vector<int32_t> cycles, QString pattern) {
    beginResetModel();
    cycles_ = std::move(cycles);
    pattern_ = std::move(pattern);
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : std::max(1, int(cycles_.size()));
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
  // 0 for the empty row.
  int cycleAt(int row) const { return row >= 0 && row < int(cycles_.size()) ? cycles_[size_t(row)] : 0; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    const int cycle = cycleAt(index.row());
    if (cycle == 0) return {};
    return index.column() == 0 ? QVariant(cycle) : QVariant(pattern_);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QString("Такт") : QString("Значение");
  }
  const std::vector<int32_t>& cycles() const { return cycles_; }

 private:
  std::vector<int32_t> cycles_;
  QString pattern_;
};

SearchWindow::SearchWindow(const TestDescription& test, views::TableRows& rows, QWidget* parent)
    : QWidget(parent, Qt::Tool), test_(test), rows_(rows) {
  setObjectName("FSearch");
  setWindowTitle("Поиск по значению");
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit1");
  word_ = new QComboBox(this);
  word_->setObjectName("wName");
  find_ = new QPushButton("Найти", this);
  find_->setObjectName("BitBtn1");
  find_->setDefault(true);
  results_ = new SearchResultsModel(this);
  grid_ = new QTableView(this);
  grid_->setObjectName("Tabl");
  grid_->setModel(results_);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(15);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setColumnWidth(0, 64);
  grid_->setColumnWidth(1, 64);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("SearchProgress");
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setMaximumHeight(8);

  auto* form = new QFormLayout;
  form->addRow("Значение", edit_);
  form->addRow("Слово", word_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(find_);
  layout->addWidget(progress_);
  layout->addWidget(grid_, 1);
  resize(200, 360);

  connect(find_, &QPushButton::clicked, this, &SearchWindow::find);
  connect(edit_, &QLineEdit::returnPressed, this, &SearchWindow::find);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { selectedCycle_ = results_->cycleAt(current.row()); });
  connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { chooseRow(i.row()); });
  slices_.setInterval(0);
  connect(&slices_, &QTimer::timeout, this, &SearchWindow::slice);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::prepare(int word, const QString& value) {
  cancel();
  const QSignalBlocker block(word_);
  word_->clear();
  for (int w = 0; w < test_.dataWordCount && w < kMaxDataWords; ++w)
    word_->addItem(qs(test_.words[size_t(w)].name));
  word_->setCurrentIndex(word < word_->count() ? word : -1);
  edit_->setText(value);
  selectedCycle_ = 0;
}

void SearchWindow::find() {
  cancel();
  results_->show({}, {});
  selectedCycle_ = 0;
  if (word_->currentIndex() < 0) return;
  edit_->setText(edit_->text().toUpper());
  search_ = std::make_unique<views::ValueSearch>(rows_, word_->currentIndex(), us(edit_->text()));
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  find_->setEnabled(false);
  slice();
  if (search_) slices_.start();
}

void SearchWindow::slice() {
  if (!search_) return;
  const bool done = search_->step(kSliceRows);
  const int64_t total = std::max<int64_t>(1, search_->total());
  progress_->setValue(int(search_->progress() * 1000 / total));
  if (!done) return;
  slices_.stop();
  // The padded pattern goes back into the field, as the user should type it next time.
  edit_->setText(qs(search_->pattern()));
  results_->show(search_->cycles(), qs(search_->pattern()));
  search_.reset();
  progress_->setValue(progress_->maximum());
  find_->setEnabled(true);
  Q_EMIT finished();
}

void SearchWindow::cancel() {
  slices_.stop();
  search_.reset();
  find_->setEnabled(true);
}

QList<int> SearchWindow::listedCycles() const {
  QList<int> out;
  for (int32_t c : results_->cycles()) out << c;
  return out;
}

void SearchWindow::chooseRow(int row) {
  selectedCycle_ = results_->cycleAt(row);
  if (selectedCycle_ != 0) Q_EMIT cycleChosen(selectedCycle_);
}

void SearchWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(e);
}

}  // namespace qel::gui
