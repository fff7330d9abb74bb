// The desktop program under the offscreen platform: start-up and close, loading, the diagram's
// zoom, keys, clicks and switch, the package view, and a run on the virtual tester.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

#include "golden.h"
#include "gui/diagram_painter.h"
#include "gui/diagram_panel.h"
#include "gui/diagram_widget.h"
#include "gui/package_widget.h"
#include "gui/program_options_dialog.h"
#include "gui/qt_settings_store.h"
#include "gui/ruler_widget.h"
#include "gui/table_page.h"
#include "gui/test_parameters_dialog.h"
#include "gui/word_panels_widget.h"
#include "gui/words_dialog.h"
#include "gui_fixture.h"
#include "views/word_value.h"

using namespace qel;
using namespace qel::gui;
using namespace qel::gui::testing;

namespace {

// The colour drawn in the middle of a cycle's segment at a level (0 low, 1 high) on the diagram
// row of a pin, in the mode the diagram is in.
QColor segmentColour(MainWindow& w, int pin, int cycle, int level) {
  const auto& t = w.bench().test;
  const auto& v = w.view();
  auto* diagram = w.diagramPanel()->diagram();
  int row = 1;
  while (row <= t.pinCount && t.rowSignal(row) != pin) ++row;
  const auto range = views::visibleRange(v, t.pinCount, t.cycleCount, diagram->width(), diagram->height());
  const int rh = v.rowHeight;
  const int top = rh * (row - v.firstRow - 1);
  const int y = level == 0 ? top + rh / 4 + rh / 2 + 2 : top + rh / 4 - 1;
  const int x = views::kDiagramLeft + (cycle - range.firstCycle) * v.cellWidth + v.cellWidth / 2 + 2;
  return diagram->grab().toImage().pixelColor(x, y);
}

}  // namespace

class GuiTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void firstRunStartAndClose();
  void keyWithoutCellWidth();
  void loadsEveryExample();
  void brokenFileKeepsPagesHidden();
  void zoomSteps();
  void keysMoveTheCursor();
  void clicksPutTheCursor();
  void referenceResultSwitch();
  void wheelScrollsAndZooms();
  void millionCyclesScrollAtOnce();
  void packageColumns();
  void recentFilesMenu();
  void goldenLoadedTest();
  void runWithInjectedFault();
  void exportsOfAFailedRun();
  void contactFaultOnPackage();
  void tableAndWordsDialog();
  void programOptionsDialog();
  void testParametersDialog();
  void operatorKeepsOrderAndWaitsForAnswers();
  void settingsFilesThatAreNoFilesAreLeftAlone();
};

void GuiTest::firstRunStartAndClose() {
  Harness h;
  auto& w = *h.window;
  QCOMPARE(w.windowTitle(), QString("Внутрисхемный тестер цифровых микросхем"));
  QVERIFY(!w.pages()->isVisible());
  QCOMPARE(w.errText(), QString("00/00"));
  QVERIFY(w.logText().startsWith("Старт программы."));
  QCOMPARE(h.bench.test.pinCount, 32);
  QVERIFY(h.store.keyExists(app::kHistoryKey));
  QVERIFY(h.store.keyExists(app::kMainKey));
  QCOMPARE(h.store.readBool(app::kHistoryKey, "IsOpen").value(), true);
  w.refreshRecentItems();
  for (int i = 0; i < 4; ++i) QVERIFY(!w.recentItem(i)->isVisible());
  // Zoom does nothing before a test is shown.
  w.diagramPanel()->zoom(views::Zoom::In);
  QCOMPARE(w.view().cellWidth, 15);

  w.loadFile(example("nand7400.qel"));
  w.diagramPanel()->zoom(views::Zoom::Out);
  const int width = w.view().cellWidth;
  w.close();
  QCOMPARE(h.store.readBool(app::kHistoryKey, "IsOpen").value(), false);
  QCOMPARE(h.store.readInt(app::kHistoryKey, "SW").value(), width);
  QCOMPARE(QString::fromStdString(h.store.readString(app::kHistoryKey, "Hist1").value()),
           example("nand7400.qel"));
  QVERIFY(h.store.readString("Software\\QEL_Tester\\placement", "BF").has_value());
  h.window.reset();
}

void GuiTest::keyWithoutCellWidth() {
  app::MemorySettingsStore seeded;
  auto& key = seeded.keys[app::kHistoryKey];
  key["ShortTest"] = true;
  key["VCCOff"] = false;
  key["Continue"] = true;
  key["TestCanalOnStart"] = false;
  key["Hist1"] = std::string("/tests/a.qel");
  key["MinPVCC"] = 200;
  Harness h;
  h.window.reset();
  h.store = seeded;
  h.window = std::make_unique<MainWindow>(
      MainWindowParts{h.bench, h.settings, h.store, h.op, h.progress, h.wait, nullptr, "/opt/qel/qeltest"});
  h.window->quitOnClose = false;
  QVERIFY(!h.settings.vccOff);
  QVERIFY(h.settings.continueOnFault);
  QCOMPARE(h.settings.levels.minSupply, 245);
  QVERIFY(!h.store.readBool(app::kHistoryKey, "IsOpen").has_value());
  h.window->refreshRecentItems();
  QVERIFY(h.window->recentItem(0)->isVisible());
  QCOMPARE(h.window->recentItem(0)->text(), QString("/tests/a.qel"));
  QVERIFY(!h.window->recentItem(1)->isVisible());
}

void GuiTest::loadsEveryExample() {
  Harness h;
  const QStringList files = QDir(QEL_EXAMPLES_DIR).entryList({"*.qel"}, QDir::Files, QDir::Name);
  QVERIFY(files.size() >= 8);
  for (const QString& name : files) {
    const QString path = example(name.toUtf8().constData());
    h.op.shownMessages.clear();
    h.window->loadFile(path);
    QApplication::processEvents();
    QCOMPARE(h.window->windowTitle(), "Внутрисхемный тестер цифровых микросхем - " + path);
    QVERIFY2(h.window->pages()->isVisible(), qPrintable(name));
    QCOMPARE(h.window->pages()->currentIndex(), 0);
    QCOMPARE(h.window->pages()->tabText(0), QString("Диаграмма"));
    QCOMPARE(h.window->pages()->tabText(1), QString("Таблица"));
    QCOMPARE(h.window->pages()->tabText(2), QString("Корпус"));
    QCOMPARE(h.window->errText(), QString("00/00"));
    QVERIFY2(h.op.shownMessages.empty(), qPrintable(name));
    QVERIFY(h.window->logText().contains("Загруска теста:" + path));
    QVERIFY(h.window->view().cellWidth >= 3 && h.window->view().cellWidth <= 40);
    QCOMPARE(h.window->statusPanel(1), QString("Такт 1/%1").arg(h.bench.test.cycleCount));
    QCOMPARE(h.window->wordPanels()->selector(0)->count(), h.bench.test.dataWordCount);
  }
}

void GuiTest::brokenFileKeepsPagesHidden() {
  Harness h;
  h.window->loadFile(QString(QEL_EXAMPLES_DIR) + "/broken/bad_package_unknown.qel");
  QVERIFY(!h.window->pages()->isVisible());
  QCOMPARE(h.op.shownMessages.size(), size_t(1));
  QCOMPARE(QString::fromStdString(h.op.shownMessages[0].first), QString("Неверный формат файла"));
  QCOMPARE(h.op.shownMessages[0].second, Icon::Warning);
  h.op.shownMessages.clear();
  h.window->loadFile("/nonexistent/test.qel");
  QCOMPARE(QString::fromStdString(h.op.shownMessages.at(0).first), QString("Невозможно открыть файл"));
  QCOMPARE(h.op.shownMessages[0].second, Icon::Error);
}

void GuiTest::zoomSteps() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  auto* d = h.window->diagramPanel()->diagram();
  auto& v = h.window->view();
  QCOMPARE(v.cellWidth, 40);  // six cycles fill the ruler
  QTest::keyClick(d, Qt::Key_Plus);
  QCOMPARE(v.cellWidth, 42);
  QTest::keyClick(d, Qt::Key_Equal);
  QTest::keyClick(d, Qt::Key_Plus);
  QTest::keyClick(d, Qt::Key_Plus);
  QCOMPARE(v.cellWidth, 46);
  QTest::keyClick(d, Qt::Key_N);
  QCOMPARE(v.cellWidth, 15);
  for (int i = 0; i < 10; ++i) QTest::keyClick(d, Qt::Key_Minus);
  QCOMPARE(v.cellWidth, 3);
  QTest::keyClick(d, Qt::Key_Plus);
  QCOMPARE(v.cellWidth, 4);
  h.window->action("acNormal")->trigger();
  QCOMPARE(v.cellWidth, 15);
  h.window->action("acUp")->trigger();
  QCOMPARE(v.cellWidth, 17);
}

void GuiTest::keysMoveTheCursor() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  auto* d = h.window->diagramPanel()->diagram();
  auto& v = h.window->view();
  QTest::keyClick(d, Qt::Key_Left);  // at cycle 1: nothing
  QCOMPARE(v.cursorCycle(), 1);
  QTest::keyClick(d, Qt::Key_Right);
  QTest::keyClick(d, Qt::Key_Right);
  QCOMPARE(v.cursorCycle(), 3);
  QCOMPARE(h.window->statusPanel(1), QString("Такт 3/6"));
  for (int i = 0; i < 10; ++i) QTest::keyClick(d, Qt::Key_Right);
  QCOMPARE(v.cursorCycle(), 6);  // the last cycle
  QTest::keyClick(d, Qt::Key_Left);
  QCOMPARE(v.cursorCycle(), 5);
  // Rows scroll only when they do not fit.
  QTest::keyClick(d, Qt::Key_Down);
  QCOMPARE(v.firstRow, h.window->diagramPanel()->verticalBar()->isVisible() ? 1 : 0);
}

void GuiTest::clicksPutTheCursor() {
  Harness h;
  h.window->loadFile(example("counter161_radix16.qel"));
  auto& v = h.window->view();
  auto* d = h.window->diagramPanel()->diagram();
  const QPoint at(views::kDiagramLeft + v.cellWidth * 4 + 1, v.rowHeight * 2 + 3);
  QTest::mouseClick(d, Qt::LeftButton, {}, at);
  QCOMPARE(v.cursorColumn, 5);
  QCOMPARE(v.cursorRow, 3);
  QCOMPARE(v.cursorPin, h.bench.test.rowSignal(3));
  QCOMPARE(h.window->statusPanel(1), QString("Такт 5/%1").arg(h.bench.test.cycleCount));
  // The word panels follow the cursor.
  QCOMPARE(h.window->wordPanels()->referenceText(0).toStdString(),
           views::formatWordValue(h.bench.test, 5, 0, views::Source::Reference));
  QCOMPARE(h.window->wordPanels()->resultText(0), QString("Неопределено"));
  // On the header: column 0, then column 1.
  QTest::mouseClick(d, Qt::LeftButton, {}, QPoint(60, 5));
  QCOMPARE(v.cursorColumn, 1);
  // Below the last row: ignored.
  QTest::mouseClick(d, Qt::LeftButton, {}, QPoint(300, v.rowHeight * h.bench.test.pinCount + 2));
  QCOMPARE(v.cursorColumn, 1);
}

void GuiTest::referenceResultSwitch() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  auto& v = h.window->view();
  auto* sw = h.window->diagramSwitch();
  QCOMPARE(sw->currentText(), QString("Эталон"));
  QVERIFY(h.window->action("N33")->isChecked());
  h.window->showResultDiagram();
  QVERIFY(v.showResult && !v.showReference);
  QCOMPARE(sw->currentText(), QString("Результат"));
  QVERIFY(h.window->action("N34")->isChecked());
  QVERIFY(!h.window->action("N33")->isChecked());
  h.window->showResultDiagram();  // already shown: nothing
  QVERIFY(v.showResult);
  QTest::mouseDClick(h.window->diagramPanel()->diagram(), Qt::LeftButton, {}, QPoint(200, 5));
  QVERIFY(v.showReference && !v.showResult);
  QCOMPARE(sw->currentText(), QString("Эталон"));
  h.window->showReference();  // already shown: the switch stays on its item
  QCOMPARE(sw->currentText(), QString("Эталон"));
  h.window->toggleGrid();
  QVERIFY(v.grid);
  QVERIFY(h.window->action("NWeb")->isChecked());
}

void GuiTest::wheelScrollsAndZooms() {
  Harness h;
  h.window->loadFile(example("counter_cyclic.qel"));
  auto& v = h.window->view();
  auto* d = h.window->diagramPanel()->diagram();
  h.window->action("acNormal")->trigger();
  v.firstCycle = 0;
  h.window->diagramPanel()->refresh();
  if (!h.window->diagramPanel()->horizontalBar()->isVisible()) QSKIP("the example fits the window");
  QWheelEvent down(QPointF(300, 10), d->mapToGlobal(QPointF(300, 10)), {}, QPoint(0, -120), Qt::NoButton, {},
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(d, &down);
  QVERIFY(v.firstCycle > 0);
  const int column = (300 - views::kDiagramLeft) / v.cellWidth;
  const int under = v.firstCycle + column;
  QWheelEvent zoom(QPointF(300, 10), d->mapToGlobal(QPointF(300, 10)), {}, QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(d, &zoom);
  QCOMPARE(v.cellWidth, 17);
  QVERIFY(std::abs(v.firstCycle + (300 - views::kDiagramLeft) / v.cellWidth - under) <= 1);
}

void GuiTest::millionCyclesScrollAtOnce() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  h.bench.test.setCycleCount(1'000'000);
  h.window->diagramPanel()->refresh();
  auto* bar = h.window->diagramPanel()->horizontalBar();
  QVERIFY(bar->isVisible());
  for (int i = 0; i < 50; ++i) {
    bar->setValue(i * 19'000);
    h.window->diagramPanel()->diagram()->repaint();
  }
  QCOMPARE(h.window->view().firstCycle, 49 * 19'000);
}

void GuiTest::packageColumns() {
  Harness h;
  h.window->loadFile(example("dff7474.qel"));
  h.window->pages()->setCurrentIndex(2);
  QApplication::processEvents();
  auto* p = h.window->packageWidget();
  p->repaint();
  const auto before = views::pinTextX(p->geometry(), views::Side::Left);
  QCOMPARE(p->geometry().typeColumn, 35);
  p->typeItem()->trigger();  // "Тип ноги" off
  p->repaint();
  QCOMPARE(p->geometry().typeColumn, 0);
  const auto after = views::pinTextX(p->geometry(), views::Side::Left);
  QCOMPARE(after.voltage - before.voltage, 35);
  p->voltageItem()->trigger();
  p->stateItem()->trigger();
  QCOMPARE(p->geometry().voltageColumn, 0);
  QCOMPARE(p->geometry().stateColumn, 0);
  QCOMPARE(p->voltageItem()->text(), QString("Напряжение"));
  QCOMPARE(p->stateItem()->text(), QString("Логическое сосотяние"));
}

void GuiTest::recentFilesMenu() {
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  h.window->loadFile(example("dff7474.qel"));
  h.window->loadFile(example("transceiver245.qel"));
  h.window->loadFile(example("nand7400.qel"));
  h.window->refreshRecentItems();
  QCOMPARE(h.window->recentItem(0)->text(), example("nand7400.qel"));
  QCOMPARE(h.window->recentItem(1)->text(), example("transceiver245.qel"));
  QCOMPARE(h.window->recentItem(2)->text(), example("dff7474.qel"));
  QVERIFY(!h.window->recentItem(3)->isVisible());
  h.window->openRecent(2);
  QCOMPARE(h.bench.test.fileName, example("dff7474.qel").toStdString());
  // Saving does nothing before a run, not even the dialog.
  bool asked = false;
  h.window->chooseTestFile = [&](bool) {
    asked = true;
    return QString();
  };
  h.window->saveTestAs();
  QVERIFY(!asked);
}

void GuiTest::goldenLoadedTest() {
  Harness h;
  h.window->loadFile(example("counter161_radix16.qel"));
  QApplication::processEvents();
  // The log names the file by its full path, which depends on the checkout.
  const auto* log = h.window->findChild<QWidget*>("Memo1");
  const QRect logArea(log->mapTo(h.window.get(), QPoint(0, 0)), log->size());
  QVERIFY(matchesGolden(h.window->grab().toImage(), "main_window_loaded", {logArea}));
}

void GuiTest::runWithInjectedFault() {
  if (qgetenv("QEL_TESTER") != "virtual") QSKIP("needs QEL_TESTER=virtual");
  Harness h(true);
  QVERIFY(h.runs);
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(h.runAndWait([&] { h.window->startFullTest(); }));
  QVERIFY(h.runFinished());
  QVERIFY2(h.bench.errors.errorCount > 0, qPrintable(h.progress.logText()));

  // Stepping from error to error moves the cursor onto the error cycles.
  h.window->navigate(2);
  QCOMPARE(h.window->view().cursorCycle(), h.bench.errors.errorCycles[0]);
  QCOMPARE(h.window->errText(), QString("1/%1").arg(h.bench.errors.errorCount));
  h.window->navigate(3);
  QCOMPARE(h.window->view().cursorCycle(), h.bench.errors.errorCycles.back());
  h.window->navigate(0);
  QCOMPARE(h.window->errText(), QString("1/%1").arg(h.bench.errors.errorCount));
  // The log's scroll bar comes with a posted layout request; the picture is taken once it is in.
  QApplication::processEvents();
  QVERIFY(matchesGolden(h.window->grab().toImage(), "main_window_failed_run"));
  // Pin 3 is held low: red where it should be high, the result's green where it should be low.
  const int errorCycle = h.bench.errors.errorCycles[0];
  QCOMPARE(segmentColour(*h.window, 3, errorCycle, 0), colours::error);
  for (int c = 1; c <= h.bench.test.cycleCount; ++c)
    if (h.bench.test.level(3, c) == 0) QCOMPARE(segmentColour(*h.window, 3, c, 0), colours::result);

  // The measured result saved as a new test loads back with the same cycles.
  QTemporaryDir dir;
  const QString saved = dir.filePath("measured.qel");
  h.window->chooseTestFile = [&](bool save) { return save ? saved : QString(); };
  h.window->saveTestAs();
  QCOMPARE(h.window->errText(), QString("0/0"));
  QVERIFY(QFile::exists(saved));
  h.window->loadFile(saved);
  QVERIFY(h.window->pages()->isVisible());
  QCOMPARE(h.bench.test.cycleCount, 6);
}

void GuiTest::exportsOfAFailedRun() {
  if (qgetenv("QEL_TESTER") != "virtual") QSKIP("needs QEL_TESTER=virtual");
  Harness h(true);
  h.window->loadFile(example("nand7400.qel"));
  QTemporaryDir dir;
  QString target;
  h.window->chooseExportFile = [&](const QString&) { return target; };
  // No report before a run: nothing is measured yet.
  target = dir.filePath("early.html");
  h.window->findChild<QAction*>("acRunReport")->trigger();
  QVERIFY(!QFile::exists(target));
  QVERIFY(h.runAndWait([&] { h.window->startFullTest(); }));
  QVERIFY(h.bench.errors.errorCount > 0);

  auto bytesOf = [](const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  target = dir.filePath("run");  // the suffix is added
  h.window->findChild<QAction*>("acExportVcd")->trigger();
  QVERIFY(bytesOf(target + ".vcd").contains("$scope module mismatch $end"));

  // The picture of the chosen cycles through the diagram's painter: the error cells in red.
  h.window->chooseCycleRange = [](const QString& preset) {
    return preset.startsWith("1:") ? QString("2:5") : QString();
  };
  target = dir.filePath("diagram.png");
  h.window->findChild<QAction*>("acSavePicture")->trigger();
  const QImage picture(target);
  QVERIFY(!picture.isNull());
  QCOMPARE(picture.width(), views::kDiagramLeft + 4 * h.window->view().cellWidth + 1);
  bool red = false;
  for (int y = 0; y < picture.height() && !red; ++y)
    for (int x = views::kDiagramLeft; x < picture.width() && !red; ++x)
      red = picture.pixelColor(x, y) == colours::error;
  QVERIFY(red);

  target = dir.filePath("table.csv");
  h.window->findChild<QAction*>("acTableCsv")->trigger();
  QVERIFY(bytesOf(target).startsWith("\xEF\xBB\xBF"));

  target = dir.filePath("report.html");
  h.window->findChild<QAction*>("acRunReport")->trigger();
  const QByteArray html = bytesOf(target);
  QCOMPARE(html.count("<h3 "), h.bench.errors.errorCount);
  QCOMPARE(html.count("data:image/png;base64,"), h.bench.errors.errorCount);

  // A folder in the way: said, and nothing else touched.
  QVERIFY(QDir(dir.path()).mkdir("folder.vcd"));
  target = dir.filePath("folder.vcd");
  h.op.shownMessages.clear();
  h.window->findChild<QAction*>("acExportVcd")->trigger();
  QCOMPARE(h.op.shownMessages.size(), size_t(1));
  QVERIFY(h.op.shownMessages[0].first.find("это папка") != std::string::npos);
  QCOMPARE(h.op.shownMessages[0].second, Icon::Error);
}

void GuiTest::contactFaultOnPackage() {
  // Run by its own ctest entry, with a pin the clip does not reach (QEL_FAULTS=open:5).
  if (qgetenv("QEL_FAULTS") != "open:5") QSKIP("needs QEL_FAULTS=open:5");
  Harness h(true);
  h.op.scriptedAnswers = {true};
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(h.runAndWait([&] {
    h.window->startContactTest();
    QCOMPARE(h.window->pages()->currentIndex(), 2);
  }));
  QVERIFY(h.runFinished());
  bool asked = false;
  for (const auto& [text, icon] : h.op.shownMessages)
    if (icon == Icon::Question &&
        text ==
            "На микросхеме нет контактирования зажима. Включить проверку контактирования в реальном времени?")
      asked = true;
  QVERIFY2(asked, qPrintable(h.progress.logText()));
  QCOMPARE(h.window->pages()->currentIndex(), 2);
  QVERIFY(h.bench.contacts[4].level < 3);
  QVERIFY(h.bench.contacts[0].level >= 3);
  QVERIFY(views::voltageIsFault({"", "I", 0, "-", h.bench.contacts[4].level, false}, {}));
  QVERIFY(h.window->logText().contains("Проверка контактирования(pin_cont)"));
  // Real-time checking takes a snapshot a second until it is stopped.
  h.window->startRealtimeCheck();
  QVERIFY(h.runs->realtimeOn());
  h.window->startFullTest();  // refused while real-time checking is on
  QVERIFY(!h.bench.busy());
  h.window->stopRealtimeCheck();
  QVERIFY(!h.runs->realtimeOn());
}

void GuiTest::tableAndWordsDialog() {
  Harness h;
  h.window->loadFile(example("counter161_radix16.qel"));
  auto* model = h.window->tablePage()->model();
  QCOMPARE(model->rowCount(), h.bench.test.dataWordCount * h.bench.test.cycleCount);
  QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Такт"));
  QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Данные (Резульат)"));
  QCOMPARE(model->data(model->index(model->rowOfCycle(10), 0), Qt::DisplayRole).toInt(), 10);
  QCOMPARE(model->data(model->index(0, 3), Qt::DisplayRole).toString(), QString("Неопределено"));
  // The selected cycle goes with the page.
  h.window->diagramPanel()->moveCursorToCycle(7);
  h.window->pages()->setCurrentIndex(1);
  QCOMPARE(h.window->tablePage()->selectedCycle(), 7);

  WordsDialog dialog(h.bench.test, h.window.get());
  QCOMPARE(dialog.windowTitle(), QString("Слова Данных"));
  QCOMPARE(dialog.radixSelector()->currentText(), QString("Шестнадцатиричная"));
  QCOMPARE(dialog.contacts()->count(), h.bench.test.words[0].filledSlots());
  Q_EMIT dialog.radixSelector()->activated(0);
  QCOMPARE(h.bench.test.words[0].radix, 2);  // at once
  dialog.reject();                           // "&Отмена" puts the radix back
  QCOMPARE(h.bench.test.words[0].radix, 16);
}

void GuiTest::programOptionsDialog() {
  Harness h;
  QVERIFY(!h.settings.continueOnFault);
  ProgramOptionsDialog dialog(h.settings, h.op, h.window.get());
  QCOMPARE(dialog.windowTitle(), QString("Настройки программы"));
  dialog.continueBox()->click();
  QCOMPARE(h.op.shownMessages.size(), size_t(1));
  QCOMPARE(QString::fromStdString(h.op.shownMessages[0].first),
           QString("Разработчики не рекомендуют использовать этот параметр без особой необходимости"));
  QCOMPARE(h.op.shownMessages[0].second, Icon::Warning);
  app::Settings stored = h.settings;
  dialog.store(stored);
  QVERIFY(stored.continueOnFault);
  dialog.setDefaults();
  dialog.store(stored);
  QVERIFY(stored.shortTest && stored.vccOff && !stored.continueOnFault && stored.testChannelsOnStart);
  QCOMPARE(h.op.shownMessages.size(), size_t(1));  // defaults do not warn
}

void GuiTest::testParametersDialog() {
  if (qgetenv("QEL_TESTER") != "virtual") QSKIP("needs QEL_TESTER=virtual");
  Harness h(true);
  h.window->loadFile(example("nand7400.qel"));
  auto& engine = static_cast<EngineRunControl*>(h.runs.get())->engine();
  TestParametersDialog dialog(engine, h.bench.test, h.op, h.window.get());
  QCOMPARE(dialog.windowTitle(), QString("Параметры тестирования"));
  auto f = dialog.fields();
  QCOMPARE(QString::fromStdString(f.cycleTime), QString("2"));
  f.logicOne = "2,5";
  f.logicZero = "0,8";
  dialog.showFields(f);
  for (auto* b : dialog.findChildren<QPushButton*>())
    if (b->text() == "ОК") b->click();
  QCOMPARE(h.bench.test.levels, 41 + 128 * 256);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void GuiTest::operatorKeepsOrderAndWaitsForAnswers() {
  ProgressWindow progress;
  WaitWindow wait;
  GuiOperator op(progress, wait);
  op.setScripted(true);
  op.scriptedAnswers = {true, false};
  std::vector<std::string> logged;
  OperatorSinks sinks;
  sinks.log = [&](const std::string& l) { logged.push_back(l); };
  op.setSinks(sinks);
  std::array<bool, 2> answers{};
  std::atomic<int> asked{0};
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) op.log(std::to_string(i));
    answers[0] = op.ask("first");
    op.progressLog("after the first answer");
    answers[1] = op.ask("second");
    asked = 2;
  });
  QTRY_COMPARE_WITH_TIMEOUT(asked.load(), 2, 5000);
  worker.join();
  QCOMPARE(logged.size(), size_t(100));
  for (int i = 0; i < 100; ++i) QCOMPARE(logged[size_t(i)], std::to_string(i));
  QVERIFY(answers[0]);
  QVERIFY(!answers[1]);
  QCOMPARE(progress.logText(), QString("after the first answer"));

  // The GUI thread waits for a worker that asks (as "Отмена" does): the question gets "No"
  // and is never shown afterwards.
  op.scriptedAnswers = {true};
  bool late = true;
  std::thread asking([&] { late = op.ask("nobody answers"); });
  op.waitForPendingQuestion();
  op.abandonQuestions();
  asking.join();
  QVERIFY(!late);
  QApplication::processEvents();
  QCOMPARE(op.scriptedAnswers.size(), size_t(1));
  // Until questions are accepted again, a worker's question is refused at once.
  std::thread refused([&] { late = op.ask("still refused"); });
  refused.join();
  QVERIFY(!late);
  op.acceptQuestions();
  std::thread answered([&] { late = op.ask("answered again"); });
  QTRY_VERIFY_WITH_TIMEOUT(op.scriptedAnswers.empty(), 5000);
  answered.join();
  QVERIFY(late);
}

void GuiTest::settingsFilesThatAreNoFilesAreLeftAlone() {
  // A folder where a key's file should be, and a terabyte that takes no disk: neither is read (which
  // would take all memory) nor replaced; the program starts on its defaults.
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkpath("QEL_Tester/historylist.ini/inside"));
  QFile huge(dir.filePath("QEL_Main.ini"));
  QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 40));
  huge.close();
  QtSettingsStore store(dir.path());
  app::Settings s;
  app::readSettings(store, s);
  QCOMPARE(s.recentFiles, std::vector<std::string>(4));
  QVERIFY(s.vccOff);
  QCOMPARE(s.levels.u0, 1.375);
  app::writeSettings(store, s);
  QVERIFY(QFileInfo(dir.filePath("QEL_Tester/historylist.ini/inside")).isDir());
  QCOMPARE(QFileInfo(dir.filePath("QEL_Main.ini")).size(), qint64(1) << 40);
  // A good file beside them is read and written as ever.
  QVERIFY(store.createKey("Software\\QEL_Other"));
  QVERIFY(store.writeInt("Software\\QEL_Other", "SW", 9));
  QCOMPARE(store.readInt("Software\\QEL_Other", "SW").value_or(0), 9);
}

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
