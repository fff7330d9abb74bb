#include "gui/coverage_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>

#include "algorithms/rom_data_file.h"
#include "coverage/coverage_totals.h"
#include "coverage/fault_hints.h"
#include "coverage/fault_list.h"
#include "coverage/fault_simulation.h"
#include "virtual/board.h"

namespace qel::gui {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Whether the text names the part, a 74-series one with its family letters too ("74LS161").
bool namesPart(const std::string& text, const std::string& part) {
  if (part.rfind("74", 0) != 0) return text.find(part) != std::string::npos;
  const std::string rest = part.substr(2);
  for (size_t i = text.find("74"); i != std::string::npos; i = text.find("74", i + 1)) {
    size_t j = i + 2;
    while (j < text.size() && text[j] >= 'A' && text[j] <= 'Z') ++j;
    const size_t end = j + rest.size();
    if (text.compare(j, rest.size(), rest) == 0 && (end >= text.size() || text[end] < '0' || text[end] > '9'))
      return true;
  }
  return false;
}

// The part the test's names mention ("К155ЛА3 (7400)", "74LS161").
int guessedPart(const TestDescription& t, const std::vector<std::string>& parts) {
  std::string names = t.chipName;
  for (const auto& n : t.testNames) names += " " + n;
  for (size_t i = 0; i < parts.size(); ++i)
    if (namesPart(names, parts[i])) return int(i);
  return -1;
}

}  // namespace

CoverageWindow::CoverageWindow(const engine::Bench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
  setWindowTitle("Покрытие неисправностей");
  chip_ = new QComboBox(this);
  for (const auto& p : virt::knownParts()) chip_->addItem(q(p));
  guessChip();
  grade_ = new QPushButton("Оценить", this);
  model_ = new QPushButton("Модель из файла...", this);
  gauge_ = new QProgressBar(this);
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  totals_ = new QLabel(this);
  totals_->setTextFormat(Qt::PlainText);
  totals_->setWordWrap(true);
  table_ = new QTableWidget(0, 4, this);
  table_->setHorizontalHeaderLabels({"Неисправность", "Обнаружена", "Первый такт", "Что поможет"});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Микросхема:", this));
  top->addWidget(chip_);
  top->addWidget(grade_);
  top->addWidget(model_);
  top->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(gauge_);
  layout->addWidget(totals_);
  layout->addWidget(table_, 1);
  resize(720, 480);

  connect(grade_, &QPushButton::clicked, this, [this] { startGrading(); });
  connect(model_, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, "Модель микросхемы", {}, "Модели (*.chip);;Все файлы (*)");
    if (!file.isEmpty()) startGrading(file);
  });
}

CoverageWindow::~CoverageWindow() {
  stopWorker();
}

void CoverageWindow::stopWorker() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  stop_ = false;
}

void CoverageWindow::guessChip() {
  std::lock_guard lock(bench_.dataMutex);
  if (const int guess = guessedPart(bench_.test, virt::knownParts()); guess >= 0)
    chip_->setCurrentIndex(guess);
}

void CoverageWindow::testReplaced() {
  guessChip();
  if (grading()) {
    stale_ = true;
    stop_ = true;
  }
  table_->setRowCount(0);
  gauge_->setValue(0);
  totals_->setMinimumHeight(0);
  totals_->setText("Загружен другой тест: нажмите \"Оценить\"");
}

void CoverageWindow::startGrading(const QString& modelFile) {
  if (grading()) return;
  stopWorker();
  {
    std::lock_guard lock(bench_.dataMutex);
    test_ = std::make_shared<TestDescription>(bench_.test);
  }
  virt::BoardConfig board;
  board.chip = chip_->currentText().toStdString();
  board.modelFile = modelFile.toStdString();
  // A ROM is graded against the image its test checks.
  if (test_->algorithms.rom.selected && !test_->algorithms.rom.dataFileName.empty())
    board.romFile = algorithms::resolveBesideTest(test_->fileName, test_->algorithms.rom.dataFileName);
  table_->setRowCount(0);
  totals_->setText("Моделирование...");
  gauge_->setValue(0);
  grade_->setEnabled(false);
  model_->setEnabled(false);
  Q_EMIT pinCoverageChanged({});
  finished_ = false;
  worker_ = std::thread([this, board, test = test_] {
    std::string error;
    const auto good = virt::Board::create(board, error);
    if (!good) {
      QMetaObject::invokeMethod(
          this, [this, e = q(error)] { finish({}, e); }, Qt::QueuedConnection);
      return;
    }
    const coverage::FaultSimulator simulator(*test, board);
    const int failing = simulator.firstError("", error);
    if (failing != 0) {
      const QString why = failing > 0
                              ? QString(
                                    "Исправная микросхема %1 не проходит тест: первая ошибка в такте %2. "
                                    "У такого теста нет покрытия.")
                                    .arg(q(std::string(good->chip().part())))
                                    .arg(failing)
                              : q(error);
      QMetaObject::invokeMethod(
          this, [this, why] { finish({}, why); }, Qt::QueuedConnection);
      return;
    }
    auto outcomes = simulator.grade(
        coverage::faultList(good->chip()),
        [this](int done, int total) {
          QMetaObject::invokeMethod(
              this, [this, done, total] { gauge_->setValue(done * 100 / std::max(total, 1)); },
              Qt::QueuedConnection);
        },
        &stop_);
    QMetaObject::invokeMethod(
        this, [this, o = std::move(outcomes)]() mutable { finish(std::move(o), {}); }, Qt::QueuedConnection);
  });
}

void CoverageWindow::finish(std::vector<coverage::FaultOutcome> outcomes, QString failure) {
  if (worker_.joinable()) worker_.join();
  stop_ = false;
  finished_ = true;
  grade_->setEnabled(true);
  model_->setEnabled(true);
  if (stale_) {
    stale_ = false;
    Q_EMIT gradingFinished();
    return;
  }
  if (!failure.isEmpty()) {
    totals_->setText(failure);
    Q_EMIT gradingFinished();
    return;
  }
  gauge_->setValue(100);
  const coverage::CoverageTotals totals = coverage::totalsOf(outcomes);
  QString text;
  for (const auto& c : totals.classes)
    text += QString("%1: %2\n")
                .arg(coverage::classCaption(c.faultClass), q(coverage::shareText(c.detected, c.faults)));
  text += "Всего: " + q(coverage::shareText(totals.detected, totals.faults));
  totals_->setText(text);
  // The table would take the lines from the totals otherwise.
  totals_->setMinimumHeight(totals_->fontMetrics().lineSpacing() * int(totals.classes.size() + 1) + 4);

  // What the test misses is what the window is for: those rows first.
  std::stable_partition(outcomes.begin(), outcomes.end(), [](const auto& o) { return !o.detected; });
  const auto activity = coverage::pinActivity(*test_);
  table_->setRowCount(int(outcomes.size()));
  int row = 0;
  for (const auto& o : outcomes) {
    const QString hint =
        o.error.empty() ? (o.detected ? QString() : q(coverage::missedFaultHint(*test_, activity, o.fault)))
                        : q(o.error);
    const QStringList cells = {q(o.fault), o.detected ? "да" : "нет",
                               o.detected ? QString::number(o.firstCycle) : "", hint};
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (!o.detected) item->setForeground(Qt::red);
      if (c == 3) item->setToolTip(cells[c]);
      table_->setItem(row, c, item);
    }
    ++row;
  }
  table_->resizeColumnsToContents();

  std::vector<int> states;
  for (const auto& p : coverage::pinCoverage(outcomes, test_->pinCount))
    states.push_back(p.faults == 0 ? 0 : p.detected == p.faults ? 1 : 2);
  layout()->activate();
  Q_EMIT pinCoverageChanged(states);
  Q_EMIT gradingFinished();
}

}  // namespace qel::gui
