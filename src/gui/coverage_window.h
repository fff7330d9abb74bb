#pragma once
// "Покрытие неисправностей": the loaded test graded by fault simulation on a worker, with the table
// of the faults it finds and misses; the package view colours each pin by whether its faults are
// covered.

#include <QDialog>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "engine/bench.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace qel::coverage {
struct FaultOutcome;
}

namespace qel::gui {

class CoverageWindow : public QDialog {
  Q_OBJECT
 public:
  CoverageWindow(const engine::Bench& bench, QWidget* parent = nullptr);
  ~CoverageWindow() override;

  QComboBox* chipBox() const { return chip_; }
  QPushButton* gradeButton() const { return grade_; }
  QTableWidget* table() const { return table_; }
  QLabel* totals() const { return totals_; }
  bool grading() const { return worker_.joinable() && !finished_; }

  // Grades the bench's test on the chosen chip, or on the model file when one is given.
  void startGrading(const QString& modelFile = {});
  // Another test is on the bench: a grading under way stops, and what was found is cleared.
  void testReplaced();

 Q_SIGNALS:
  // Per pin, index = pin: 0 nothing to say, 1 every fault found, 2 some missed; empty to clear.
  void pinCoverageChanged(const std::vector<int>& states);
  void gradingFinished();

 private:
  void finish(std::vector<coverage::FaultOutcome> outcomes, QString failure);
  void stopWorker();
  // The part the test's names mention, when they mention one the virtual tester has.
  void guessChip();

  const engine::Bench& bench_;
  std::shared_ptr<TestDescription> test_;  // the copy being graded, the worker's while it runs
  QComboBox* chip_;
  QPushButton* grade_;
  QPushButton* model_;
  QProgressBar* gauge_;
  QLabel* totals_;
  QTableWidget* table_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  bool finished_ = true;
  bool stale_ = false;  // the grading under way is of a test no longer on the bench
};

}  // namespace qel::gui
