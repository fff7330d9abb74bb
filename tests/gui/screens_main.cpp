// Takes the screenshots of the user guide offscreen:
//   qeltest_screens DIR run      main window, diagram with errors, progress window (needs an output fault)
//   qeltest_screens DIR contact  package view after a contact fault (needs a pin without contact)
//   qeltest_screens DIR book     the reference book and the test description
//   qeltest_screens DIR windows  the algorithm dialog, analyser, diagnostics, table, search, raw
//                                readout and USB console
//   qeltest_screens DIR coverage the coverage window and the package view coloured by it

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cstdio>

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "gui/algorithm_settings_dialog.h"
#include "gui/analyser_dialog.h"
#include "gui/coverage_window.h"
#include "gui/diagnostics_dialog.h"
#include "gui/diagram_panel.h"
#include "gui/raw_readout_window.h"
#include "gui/reference_book_dialog.h"
#include "gui/search_window.h"
#include "gui/table_page.h"
#include "gui/test_info_dialog.h"
#include "gui/usb_console_window.h"
#include "gui_fixture.h"

using namespace qel::gui;
using namespace qel::gui::testing;

namespace {

bool save(QWidget* w, const QString& dir, const char* name) {
  QApplication::processEvents();
  const QString path = dir + "/" + name;
  const bool ok = w->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

// A dialog shown for its picture and closed again.
bool saveDialog(QDialog& d, const QString& dir, const char* name) {
  d.show();
  d.adjustSize();
  const bool ok = save(&d, dir, name);
  d.close();
  return ok;
}

bool windows(Harness& h, const QString& dir) {
  bool ok = true;
  h.window->loadFile(example("sram6116_ram.qel"));
  AlgorithmSettingsDialog algorithm(h.bench.test, true, h.op, h.window.get());
  ok &= saveDialog(algorithm, dir, "algorithm-dialog.png");
  AnalyserDialog analyser(h.window.get());
  ok &= saveDialog(analyser, dir, "analyser-dialog.png");
  DiagnosticsDialog diagnostics(h.window.get());
  ok &= saveDialog(diagnostics, dir, "diagnostics-dialog.png");

  h.window->loadFile(example("eprom2716_rom.qel"));
  h.window->pages()->setCurrentIndex(1);
  auto* gauge = h.window->tablePage()->gauge();
  ok &= QTest::qWaitFor([&] { return gauge->value() == gauge->maximum(); }, 10000);
  ok &= save(h.window.get(), dir, "table-rom.png");

  h.window->loadFile(example("counter161_radix16.qel"));
  h.window->showSearch();
  SearchWindow* search = h.window->searchWindow();
  QSignalSpy done(search, &SearchWindow::finished);
  search->wordSelector()->setCurrentIndex(1);  // the counter's outputs, as they are in cycle 10
  auto& rows = h.window->tablePage()->model()->rows();
  search->valueField()->setText(
      QString::fromStdString(rows.row(rows.rowOfCycle(10) + 1).reference).toLower());
  search->find();
  if (done.isEmpty()) done.wait(10000);
  ok &= save(search, dir, "search-window.png");
  search->close();

  h.window->loadFile(example("nand7400.qel"));
  h.window->showRawReadout();
  h.window->rawReadout()->resize(640, 420);
  ok &= save(h.window->rawReadout(), dir, "raw-readout.png");
  h.window->rawReadout()->close();
  h.window->showUsbConsole();
  UsbConsoleWindow* console = h.window->usbConsole();
  console->bytesField()->setText("A3 67 29 2 0 64 7 D0");
  ok &= save(console, dir, "usb-console.png");
  console->close();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: qeltest_screens DIR run|contact|windows|coverage\n");
    return 2;
  }
  const QString dir = argv[1];
  const QString mode = argv[2];
  QDir().mkpath(dir);
  Harness h(true);
  if (!h.runs) {
    std::fprintf(stderr, "qeltest_screens: the tester library did not load (QEL_TESTER=virtual?)\n");
    return 1;
  }
  h.window->resize(900, 600);
  bool ok = true;
  if (mode == "run") {
    h.window->loadFile(example("counter161_radix16.qel"));
    ok &= save(h.window.get(), dir, "main-window.png");
    ok &= h.runAndWait([&] { h.window->startFullTest(); });
    h.window->navigate(2);
    ok &= save(h.window.get(), dir, "diagram-errors.png");
    h.progress.resize(460, 420);
    h.progress.showWindow();
    ok &= save(&h.progress, dir, "progress-window.png");
  } else if (mode == "book") {
    ReferenceBookDialog* book = h.window->referenceBook();
    book->loadBookFile(example("chips.lib"));
    book->show();
    book->setSearchText("ЛА3");
    ok &= save(book, dir, "reference-book.png");
    book->findChild<QWidget*>("bOpen")->setFocus();
    Q_EMIT book->chipChosen();
    book->hide();
    h.window->onTestInfo = [&](TestInfoDialog& d) {
      d.comment()->setPlainText("Проверен на плате БП-12, позиция D4.\nВыход 3 медленный при 4,5 В.");
      d.show();
      ok &= save(&d, dir, "test-description.png");
    };
    h.window->showTestInfo();
  } else if (mode == "coverage") {
    h.window->loadFile(example("transceiver245.qel"));
    h.window->showCoverage();
    CoverageWindow* w = h.window->coverageWindow();
    QSignalSpy graded(w, &CoverageWindow::gradingFinished);
    w->startGrading();
    if (graded.isEmpty()) graded.wait(30000);
    ok &= save(w, dir, "coverage-window.png");
    w->close();
    h.window->pages()->setCurrentIndex(2);
    ok &= save(h.window.get(), dir, "package-coverage.png");
  } else if (mode == "windows") {
    ok &= windows(h, dir);
  } else {
    h.op.scriptedAnswers = {true};
    h.window->loadFile(example("counter161_radix16.qel"));
    ok &= h.runAndWait([&] { h.window->startContactTest(); });
    h.window->pages()->setCurrentIndex(2);
    ok &= save(h.window.get(), dir, "package-contact-fault.png");
  }
  h.window->close();
  return ok ? 0 : 1;
}
