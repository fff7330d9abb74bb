// The bench windows under the offscreen platform: the algorithm dialog, the analyser, the
// diagnostics, the search by value, help, and the service commands against the virtual tester.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>

#include "bench_staging.h"
#include "gui/algorithm_settings_dialog.h"
#include "gui/analyser_dialog.h"
#include "gui/coverage_window.h"
#include "gui/diagnostics_dialog.h"
#include "gui/diagram_panel.h"
#include "gui/message_box.h"
#include "gui/package_widget.h"
#include "gui/raw_readout_window.h"
#include "gui/russian_texts.h"
#include "gui/search_window.h"
#include "gui/table_page.h"
#include "gui/usb_console_window.h"
#include "gui/word_panels_widget.h"
#include "gui_fixture.h"

using namespace qel;
using namespace qel::gui;
using namespace qel::gui::testing;
using algorithms::AddressField;

namespace {

// Runs act on the modal dialog of type D that the next call opens.
template <typename D>
void whenShown(std::function<void(D&)> act) {
  QTimer::singleShot(0, [act] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d) return;
    act(*d);
  });
}

void retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

}  // namespace

class BenchWindowsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void algorithmDialogEditsInTheRadix();
  void algorithmDialogAppliesOnlyAChange();
  void analyserCancelAndCapture();
  void diagnosticsRamTest();
  void diagnosticsShortedChannels();
  void rawReadoutAndConsole();
  void romTableAndFillGauge();
  void searchPadsListsAndMovesTheCursor();
  void millionCycleTableScrolls();
  void helpAndQtTexts();
  void coverageTableAndPinColours();
};

namespace {
bool logged(const Harness& h, const char* text) {
  for (const auto& [t, icon] : h.op.shownMessages)
    if (t == text) return true;
  return false;
}
}  // namespace

void BenchWindowsTest::analyserCancelAndCapture() {
  Harness h(true);
  QVERIFY(h.runs);
  h.window->loadFile(example("nand7400.qel"));
  const int cycles = h.bench.test.cycleCount;
  whenShown<AnalyserDialog>([](AnalyserDialog& d) {
    QCOMPARE(d.cycles()->value(), 8190);
    d.reject();
  });
  h.window->action("acAnalyser")->trigger();
  QVERIFY(!h.bench.busy());
  QCOMPARE(h.bench.test.cycleCount, cycles);

  whenShown<AnalyserDialog>([](AnalyserDialog& d) {
    d.cycles()->setValue(300);
    d.accept();
  });
  QVERIFY(h.runAndWait([&] { h.window->action("acAnalyser")->trigger(); }));
  QCOMPARE(h.bench.test.cycleCount, 300);
  QVERIFY(h.bench.analyserView());
  QCOMPARE(h.bench.errors.errorCount, 0);         // no comparison
  QVERIFY(h.bench.test.resultCode(3, 300) != 5);  // the capture reached its last cycle

  // A run the user stops says so in the log.
  h.op.runFinished({RunKind::Full, RunOutcome::Cancelled, 0});
  QTRY_VERIFY(h.window->logText().endsWith("Тестирование прервано пользователем"));
}

void BenchWindowsTest::diagnosticsRamTest() {
  Harness h(true);
  QVERIFY(h.runs);
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(h.window->action("N26")->isEnabled());
  whenShown<DiagnosticsDialog>([](DiagnosticsDialog& d) {
    QCOMPARE(d.windowTitle(), QString("Диагностика тестера"));
    d.ramButton()->click();
    d.reject();
  });
  h.window->action("N26")->trigger();
  QVERIFY(logged(h, "ОЗУ тестера исправно"));
  QVERIFY(!h.bench.busy());
}

// Run with the clip free and channel-pins 5 and 6 shorted together.
void BenchWindowsTest::diagnosticsShortedChannels() {
  if (!qEnvironmentVariable("QEL_FAULTS").contains("short:5,6")) QSKIP("needs the shorted channels");
  Harness h(true);
  QVERIFY(h.runs);
  h.window->loadFile(example("nand7400.qel"));
  QSignalSpy shown(h.window.get(), &MainWindow::runShown);
  whenShown<DiagnosticsDialog>([](DiagnosticsDialog& d) {
    d.channelsButton()->click();
    d.reject();
  });
  h.window->action("N26")->trigger();
  QVERIFY(!shown.isEmpty() || shown.wait(30000));
  QVERIFY(logged(h, "Освободите контакты клипсы."));
  QVERIFY(logged(h, "Неисправные каналы(всего 2): 5; 6; "));
  QVERIFY(h.bench.channelFault());
  QVERIFY(h.window->view().showResult);  // the self-test's picture, what came back
  QVERIFY(!h.window->pages()->isHidden());
}

void BenchWindowsTest::rawReadoutAndConsole() {
  Harness h(true);
  QVERIFY(h.runs);
  h.window->loadFile(example("nand7400.qel"));
  h.window->action("bbrkdk")->trigger();
  RawReadoutWindow* raw = h.window->rawReadout();
  QVERIFY(raw && raw->isVisible());
  int bits = 0;
  for (int c = 1; c <= RawReadoutWindow::kWords; ++c) bits += raw->grid().at(1, c) != 0;
  QVERIFY(bits >= h.bench.test.cycleCount);
  // Only what is visible is drawn, wherever the view is scrolled.
  raw->resize(400, 300);
  raw->horizontalScrollBar()->setValue(raw->horizontalScrollBar()->maximum());
  raw->grab();
  QVERIFY(raw->paintedCells() > 0);
  QVERIFY(raw->paintedCells() <=
          (400 / RawReadoutWindow::kCellWidth + 2) * (300 / RawReadoutWindow::kCellHeight + 2));

  h.window->action("acUsbConsole")->trigger();
  UsbConsoleWindow* console = h.window->usbConsole();
  QVERIFY(console && console->isVisible());
  QCOMPARE(console->windowTitle(), QString("RIrori"));
  // The log the port layer wrote while the readout ran is there.
  QVERIFY(!console->log()->toPlainText().isEmpty());
  auto button = [&](const char* name) { return console->findChild<QPushButton*>(name); };
  button("Button1")->click();
  QVERIFY(logged(h, "RIrori. Нечего писать!"));
  console->bytesField()->setText("A3 67 29 2 0 64 7 D0");
  button("Button1")->click();
  QVERIFY(console->log()->toPlainText().contains("Запись в USB (8 байт)..."));
  button("btRead")->click();
  QVERIFY(console->readIndicator()->text().startsWith(" Прочитано:"));
  // A run holds the port: the console only watches.
  engine::BenchStaging::busy(h.bench, true);
  const QString before = console->log()->toPlainText();
  button("Button1")->click();
  QVERIFY(console->log()->toPlainText().contains("Порт занят: идет тестирование"));
  QVERIFY(!console->log()->toPlainText().mid(before.size()).contains("Запись в USB"));
  QTRY_VERIFY(!console->commands()->isEnabled());
  engine::BenchStaging::busy(h.bench, false);
  QTRY_VERIFY(console->commands()->isEnabled());
}

void BenchWindowsTest::romTableAndFillGauge() {
  Harness h;
  h.window->loadFile(example("eprom2716_rom.qel"));
  const auto& t = h.bench.test;
  QVERIFY(t.algorithms.rom.selected);
  auto* table = h.window->tablePage();
  auto* model = table->model();
  const int addresses = t.algorithms.rom.finalAddress - t.algorithms.rom.startAddress + 1;
  QCOMPARE(model->rowCount(),
           2 * std::min(addresses, (t.cycleCount + t.templateCycles - 1) / t.templateCycles));
  QVERIFY(model->rowCount() < t.cycleCount * t.dataWordCount);
  // The two rows of an address: its address word and its data word, at their cycles.
  const int n = t.templateCycles;
  const int second = model->cycleOfRow(3);
  QVERIFY(second == n + t.algorithms.rom.addressCycle || second == n + t.algorithms.rom.dataCycle);
  QCOMPARE(model->rowOfCycle(n + t.algorithms.rom.dataCycle) / 2, 1);
  h.window->pages()->setCurrentIndex(1);
  QTRY_COMPARE(table->gauge()->value(), table->gauge()->maximum());
  QVERIFY(table->gauge()->maximum() > 1);
  // The cycle column is wide enough for the largest cycle number.
  QVERIFY(table->view()->columnWidth(0) >= table->view()->fontMetrics().horizontalAdvance("16000000"));
}

void BenchWindowsTest::searchPadsListsAndMovesTheCursor() {
  Harness h;
  h.window->loadFile(example("counter161_radix16.qel"));
  h.window->tablePage()->findChild<QAction*>("SpeedButton15")->trigger();
  SearchWindow* search = h.window->searchWindow();
  QVERIFY(search && search->isVisible());
  QCOMPARE(search->windowTitle(), QString("Поиск по значению"));
  // The word of the first panel and its reference value are proposed.
  QCOMPARE(search->wordSelector()->currentIndex(), h.window->wordPanels()->selector(0)->currentIndex());
  const int word = search->wordSelector()->currentIndex();
  auto& rows = h.window->tablePage()->model()->rows();
  // The value the word shows in cycle 5, typed in lower case.
  const QString value = qs(rows.row(rows.layout().rowOfCycle(5) + word).reference);
  QSignalSpy done(search, &SearchWindow::finished);
  search->valueField()->setText(value.toLower());
  search->find();
  QVERIFY(!done.isEmpty() || done.wait(10000));
  QCOMPARE(search->valueField()->text(), value);
  const QList<int> cycles = search->listedCycles();
  QVERIFY(cycles.contains(5));
  for (int c : cycles) {
    const auto r = rows.row(rows.layout().rowOfCycle(c) + word);
    QVERIFY(qs(r.reference) == value || qs(r.result) == value);
  }
  search->chooseRow(int(cycles.size()) - 1);
  QCOMPARE(h.window->view().cursorCycle(), cycles.back());
  QCOMPARE(h.window->tablePage()->selectedCycle(), cycles.back());

  // No match: the one empty row does nothing when double-clicked.
  search->valueField()->setText("ZZ");
  search->find();
  QVERIFY(done.size() == 2 || done.wait(10000));
  QVERIFY(search->listedCycles().isEmpty());
  QSignalSpy chosen(search, &SearchWindow::cycleChosen);
  search->chooseRow(0);
  QVERIFY(chosen.isEmpty());
}

void BenchWindowsTest::millionCycleTableScrolls() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  TestDescription& t = h.bench.test;
  t.setCycleCount(1'000'000);
  t.dataWordCount = 10;
  for (int w = 0; w < 10; ++w) {
    t.words[size_t(w)].name = "W" + std::to_string(w);
    t.words[size_t(w)].pins = {};
    t.words[size_t(w)].pins[1] = 1 + w % 14;
  }
  QElapsedTimer clock;
  clock.start();
  h.window->tablePage()->reload();
  h.window->pages()->setCurrentIndex(1);
  auto* view = h.window->tablePage()->view();
  QCOMPARE(view->model()->rowCount(), 10'000'000);
  // Anywhere at once, before the fill got there.
  for (int i = 1; i <= 20; ++i) {
    view->verticalScrollBar()->setValue(i * 490'000);
    view->viewport()->grab();
  }
  QVERIFY(view->indexAt(QPoint(5, 5)).row() >= 9'000'000);
  QCOMPARE(view->model()->data(view->model()->index(9'999'999, 0)).toInt(), 1'000'000);
  qInfo() << "a table of 10,000,000 rows laid out and scrolled 20 times in" << clock.elapsed() << "ms";

  // A search over a million cycles goes in slices, and stops when the test is replaced.
  h.window->showSearch();
  SearchWindow* search = h.window->searchWindow();
  search->wordSelector()->setCurrentIndex(0);
  search->valueField()->setText("1");
  search->find();
  QVERIFY(search->searching());
  QVERIFY(search->progress()->value() < search->progress()->maximum());
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(!search->searching());
  QVERIFY(!h.window->tablePage()->model()->rows().filling() || h.bench.test.cycleCount < 1'000'000);
}

void BenchWindowsTest::helpAndQtTexts() {
  Harness h;
  QStringList opened;
  h.window->openDocument = [&](const QString& p) {
    opened << p;
    return true;
  };
  // Nothing to open here: a message says which file is missing.
  h.window->openHelpFile();
  QVERIFY(opened.isEmpty());
  QVERIFY(logged(h, "Файл справки не найден: /opt/qel/doc/user-guide.html"));
  h.window->action("N13")->trigger();
  QCOMPARE(h.op.shownMessages.size(), size_t(2));

  // Qt's own buttons speak Russian.
  QVERIFY(installQtRussian(qApp));
  QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Да"));
}

void BenchWindowsTest::algorithmDialogEditsInTheRadix() {
  Harness h;
  h.window->loadFile(example("sram6116_ram.qel"));
  h.bench.test.words[0].radix = 2;
  h.bench.test.algorithms.ram.startAddress = 6;
  AlgorithmSettingsDialog d(h.bench.test, true, h.op);
  QCOMPARE(d.windowTitle(), QString("Алгоритм тестирования"));
  QCOMPARE(d.pages()->currentWidget()->objectName(), QString("tsOzu"));
  QLineEdit* start = d.addressField(AddressField::RamStart);
  QCOMPARE(start->text(), QString("110"));
  d.stepButton(AddressField::RamStart, -1)->click();
  QCOMPARE(start->text(), QString("101"));
  QVERIFY(!start->toolTip().isEmpty());  // compressed: the fields say what they do not test
  d.compressedBox()->click();
  QVERIFY(start->toolTip().isEmpty());

  h.bench.test.words[0].radix = 10;
  AlgorithmSettingsDialog decimal(h.bench.test, true, h.op);
  decimal.show();
  QLineEdit* final = decimal.addressField(AddressField::RamFinal);
  retype(final, "1x2");
  QCOMPARE(final->text(), QString("12"));
  h.bench.test.words[0].radix = 8;
  AlgorithmSettingsDialog octal(h.bench.test, true, h.op);
  octal.show();
  retype(octal.addressField(AddressField::RamStart), "xy7");
  QCOMPARE(octal.addressField(AddressField::RamStart)->text(), QString("7"));
  h.bench.test.words[0].radix = 16;
  h.bench.test.algorithms.ram.finalAddress = 255;
  AlgorithmSettingsDialog hex(h.bench.test, true, h.op);
  QCOMPARE(hex.addressField(AddressField::RamFinal)->text(), QString("FF"));
}

void BenchWindowsTest::algorithmDialogAppliesOnlyAChange() {
  Harness h;
  h.settings.shortTest = false;  // the full test: its length follows the range
  h.window->loadFile(example("sram6116_ram.qel"));
  QVERIFY(h.window->action("acAlg")->isEnabled());
  h.bench.test.words[0].radix = 10;
  const int cycles = h.bench.test.cycleCount;
  const auto ram = h.bench.test.algorithms.ram;

  // OK without a change and Cancel after one store nothing.
  whenShown<AlgorithmSettingsDialog>([](AlgorithmSettingsDialog& d) { d.accept(); });
  h.window->action("acAlg")->trigger();
  whenShown<AlgorithmSettingsDialog>([](AlgorithmSettingsDialog& d) {
    retype(d.addressField(AddressField::RamStart), "3");
    d.reject();
  });
  h.window->action("acAlg")->trigger();
  QCOMPARE(h.bench.test.algorithms.ram.startAddress, ram.startAddress);
  QCOMPARE(h.bench.test.cycleCount, cycles);

  // Start above final: stored the other way round, and the test is expanded for the new range.
  whenShown<AlgorithmSettingsDialog>([](AlgorithmSettingsDialog& d) {
    retype(d.addressField(AddressField::RamStart), "100");
    retype(d.addressField(AddressField::RamFinal), "10");
    d.accept();
  });
  h.window->action("acAlg")->trigger();
  QCOMPARE(h.bench.test.algorithms.ram.startAddress, 10);
  QCOMPARE(h.bench.test.algorithms.ram.finalAddress, 100);
  QVERIFY(h.bench.test.cycleCount != cycles);
  QVERIFY(h.bench.testReady());
  QVERIFY(h.bench.testerNotInitialised());
}

// "Покрытие неисправностей...": the chip guessed from the test's name, the table of faults found
// and missed, the package's leads coloured, a chip the test does not fit refused, and a new load
// clearing the colours.
void BenchWindowsTest::coverageTableAndPinColours() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  h.window->action("acCoverage")->trigger();
  CoverageWindow* w = h.window->coverageWindow();
  QVERIFY(w && w->isVisible());
  QCOMPARE(w->chipBox()->currentText(), QString("7400"));
  QSignalSpy done(w, &CoverageWindow::gradingFinished);
  QTest::mouseClick(w->gradeButton(), Qt::LeftButton);
  QVERIFY(!done.isEmpty() || done.wait(30000));
  QCOMPARE(w->table()->rowCount(), 34);
  QVERIFY(w->totals()->text().contains("Всего: 30 из 34 (88 %)"));
  int missed = 0;
  for (int r = 0; r < w->table()->rowCount(); ++r)
    if (w->table()->item(r, 1)->text() == "нет") {
      ++missed;
      QVERIFY(w->table()->item(r, 0)->text().startsWith("bridge:"));
      QVERIFY(!w->table()->item(r, 3)->text().isEmpty());
    }
  QCOMPARE(missed, 4);
  // Outputs all covered; inputs share a missed bridge; the supply pins have no faults of their own.
  const auto& colours = h.window->packageWidget()->pinCoverage();
  QCOMPARE(int(colours.size()), 15);
  QCOMPARE(colours[3], 1);
  QCOMPARE(colours[1], 2);
  QCOMPARE(colours[7], 0);

  // The 7474 does not pass a NAND test: no coverage, and it says so.
  w->chipBox()->setCurrentText("7474");
  done.clear();
  QTest::mouseClick(w->gradeButton(), Qt::LeftButton);
  QVERIFY(!done.isEmpty() || done.wait(30000));
  QVERIFY(w->totals()->text().contains("не проходит тест"));
  QCOMPARE(w->table()->rowCount(), 0);
  QVERIFY(h.window->packageWidget()->pinCoverage().empty());

  w->chipBox()->setCurrentText("7400");
  done.clear();
  QTest::mouseClick(w->gradeButton(), Qt::LeftButton);
  QVERIFY(!done.isEmpty() || done.wait(30000));
  h.window->loadFile(example("dff7474.qel"));
  QVERIFY(h.window->packageWidget()->pinCoverage().empty());
  QCOMPARE(w->table()->rowCount(), 0);
  QVERIFY(w->totals()->text().contains("Загружен другой тест"));
  QCOMPARE(w->chipBox()->currentText(), QString("7474"));
  h.window->loadFile(example("transceiver245.qel"));  // "74ALS245"
  QCOMPARE(w->chipBox()->currentText(), QString("74245"));
  // A load while grading: the grading stops and leaves nothing of the old test behind.
  done.clear();
  QTest::mouseClick(w->gradeButton(), Qt::LeftButton);
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(!done.isEmpty() || done.wait(30000));
  QCOMPARE(w->table()->rowCount(), 0);
  QVERIFY(h.window->packageWidget()->pinCoverage().empty());
  QVERIFY(w->gradeButton()->isEnabled());
}

QTEST_MAIN(BenchWindowsTest)
#include "bench_windows_test.moc"
