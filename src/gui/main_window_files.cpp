// Opening, dropping, the recent files and "Сохранить как...".

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QToolButton>

#include "algorithms/rom_data_save.h"
#include "app/save_test.h"
#include "app/startup.h"
#include "app/test_loader.h"
#include "gui/algorithm_settings_dialog.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"

#include "engine/test_engine.h"
#include "gui/diagram_panel.h"
#include "gui/engine_run_control.h"
#include "gui/message_box.h"
#include "gui/program_options_dialog.h"
#include "gui/run_control.h"
#include "gui/table_page.h"
#include "gui/test_parameters_dialog.h"
#include "gui/wait_window.h"
#include "gui/word_panels_widget.h"
#include "gui/words_dialog.h"
#include "testfile/writer.h"
#include "views/comparison.h"

namespace qel::gui {

namespace {
const char* const kFilter = "AllTest (*.qel *.vtd);;QEL (*.qel);;VTD (*.vtd)";
}

void MainWindow::openTest() {
  QString path;
  if (chooseTestFile)
    path = chooseTestFile(false);
  else
    path = QFileDialog::getOpenFileName(this, QString(), qs(settings_.dirTests), kFilter);
  if (path.isEmpty()) return;
  loadFile(path);
}

void MainWindow::loadFile(const QString& path) {
  if (bench_.busy()) return;  // the worker owns the test while a run goes on
  if (auto* start = findChild<QToolButton*>("BStart1")) start->setVisible(true);
  if (!path.isEmpty()) {
    app::rememberRecentFile(settings_.recentFiles, us(path));
    setWindowTitle(qs(app::kMainCaption) + " - " + path);
  }
  // The table's worker reads the test that the load replaces.
  table_->stopFill();
  app::loadTest(bench_, us(path), op_, loadOptions());
  syncPages();
  afterLoad();
}

app::LoadOptions MainWindow::loadOptions() const {
  app::LoadOptions options;
  options.expansion.compressedRamTest = settings_.shortTest;
  return options;
}

void MainWindow::refreshRecentItems() {
  for (size_t i = 0; i < recent_.size(); ++i) {
    const std::string entry = i < settings_.recentFiles.size() ? settings_.recentFiles[i] : std::string();
    recent_[i]->setText(qs(entry));
    recent_[i]->setVisible(!entry.empty());
  }
}

void MainWindow::openRecent(int index) {
  const auto& recent = settings_.recentFiles;
  if (index < 0 || size_t(index) >= recent.size() || recent[size_t(index)].empty()) return;
  loadFile(qs(recent[size_t(index)]));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) loadFile(url.toLocalFile().left(259));
  wait_.close();
}

void MainWindow::saveTestAs() {
  // Only a shown test after a run: a freshly loaded one has "not measured" in its first cell.
  if (!app::canSaveResult(bench_)) return;
  QString path;
  if (chooseTestFile)
    path = chooseTestFile(true);
  else
    path = QFileDialog::getSaveFileName(this, QString(), qs(settings_.dirTests), kFilter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return;
  table_->stopFill();
  app::saveResultAs(bench_, app::withTestExtension(us(path)), op_);
}

std::optional<std::string> MainWindow::chooseFile(const FileChoice& choice) {
  if (chooseTestFile) {
    const QString path = chooseTestFile(choice.save);
    if (path.isEmpty()) return std::nullopt;
    return us(path);
  }
  // "Dat|*.dat|All|*.*" -> "Dat (*.dat);;All (*.*)"
  const QStringList parts = qs(choice.filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  QFileDialog dialog(this, QString(), qs(settings_.dirTests), filters.join(";;"));
  dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the caller asks its own question
  if (!choice.defaultExt.empty()) dialog.setDefaultSuffix(qs(choice.defaultExt));
  if (!choice.initialName.empty()) dialog.selectFile(qs(choice.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return us(dialog.selectedFiles().front());
}

void MainWindow::saveDataFile() {
  if (!bench_.testReady() || bench_.busy()) return;
  algorithms::saveRomDataFile(bench_.test, op_);
}

void MainWindow::showProgramOptions() {
  ProgramOptionsDialog dialog(settings_, op_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const bool compressed = settings_.shortTest;
  dialog.store(settings_);
  // A run in progress keeps the options it was launched with.
  if (runs_) runs_->applySettings(settings_);
  redrawFromModel();
  // A loaded RAM test is expanded again with the other RAM test.
  if (compressed != settings_.shortTest && bench_.testReady() && bench_.test.algorithmNumber == 3 &&
      !bench_.busy())
    loadFile(qs(bench_.test.fileName));
}

void MainWindow::showTestParameters() {
  auto* runs = dynamic_cast<EngineRunControl*>(runs_);
  // The dialog writes the test's thresholds and cycle time, which a run reads.
  if (!runs || bench_.busy()) return;
  TestParametersDialog dialog(runs->engine(), bench_.test, op_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  settings_.levels = runs->engine().settings().levels;
  // The tester gets the new parameters at once.
  runs->engine().initialiseTester();
  redrawFromModel();
}

void MainWindow::showAlgorithmDialog() {
  if (bench_.busy()) return;
  AlgorithmSettingsDialog dialog(bench_.test, settings_.shortTest, op_, this);
  if (dialog.exec() != QDialog::Accepted || !dialog.logic().modified()) return;
  const auto page = dialog.logic().page();
  const bool expands =
      page == AlgorithmKind::Rom || page == AlgorithmKind::Ram || page == AlgorithmKind::March;
  // A new expansion is a new test for the tester and the comparison.
  const bool ready = bench_.testReady();
  if (expands && !bench_.beginLoad()) return;
  table_->stopFill();
  algorithms::ExpansionOptions options = loadOptions().expansion;
  options.emptyErrorList = [this] { bench_.errors.clear(); };
  const auto r = dialog.logic().accept(bench_.test, op_, options);
  if (expands) bench_.endLoad(ready);
  if (r.compressedRamTest && *r.compressedRamTest != settings_.shortTest) {
    settings_.shortTest = *r.compressedRamTest;
    if (runs_) runs_->applySettings(settings_);
  }
  if (r.expanded) {
    setErrText("00/00");
    afterLoad();
  } else {
    redrawFromModel();
  }
}

void MainWindow::showWordsDialog() {
  WordsDialog dialog(bench_.test, this);
  dialog.exec();
  words_->refresh(view_.cursorCycle());
  table_->update();
}

}  // namespace qel::gui
