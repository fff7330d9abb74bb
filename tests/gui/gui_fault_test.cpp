// The desktop program on a tester whose link fails: each ctest entry sets one link fault
// (QEL_FAULTS) and runs the full test, then the contact test. Each run ends with its message, the
// supply shown as the tester last confirmed it, busy clear and the window usable. Also the last
// resort: an exception escaping an event handler is reported and the window stays.

#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <stdexcept>

#include "engine/test_engine.h"
#include "gui/diagram_panel.h"
#include "gui/guarded_application.h"
#include "gui_fixture.h"

using namespace qel;
using namespace qel::gui;
using namespace qel::gui::testing;

namespace {

struct Expected {
  std::vector<std::string> fullTest, contactTest;  // the messages shown, in order
  bool supplyMayBeOn = false;
};

const std::string kSupplyText = engine::kSupplyMayBeOnText;

// nand7400 takes 597 answer bytes before the block's answers; the faults strike inside them.
Expected expectedFor(const QByteArray& fault) {
  if (fault == "absent") return {{"Нет связи с тестером"}, {"Нет связи с тестером"}, false};
  if (fault == "silent:620")
    return {{"Ошибка съема данных", kSupplyText}, {engine::errorText(2), kSupplyText}, true};
  if (fault == "break:620")
    return {{"Ошибка съема данных", kSupplyText}, {"Нет связи с тестером", kSupplyText}, true};
  return {{}, {}, false};  // stray bytes before every acknowledgement are skipped
}

std::vector<std::string> texts(const GuiOperator& op) {
  std::vector<std::string> out;
  for (const auto& [text, icon] : op.shownMessages) out.push_back(text);
  return out;
}

}  // namespace

class GuiFaultTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void runsUnderALinkFault();
  void anEscapedExceptionIsReportedAndTheWindowStays();
};

void GuiFaultTest::runsUnderALinkFault() {
  const QByteArray fault = qgetenv("QEL_FAULTS");
  if (fault.isEmpty()) QSKIP("needs QEL_FAULTS");
  const Expected expected = expectedFor(fault);
  Harness h(true);
  QVERIFY(h.runs);
  h.op.scriptedAnswers = {false, false};
  h.window->loadFile(example("nand7400.qel"));
  QVERIFY(h.window->pages()->isVisible());

  auto runAndCheck = [&](bool full, const std::vector<std::string>& messages) {
    h.op.shownMessages.clear();
    full ? h.window->startFullTest() : h.window->startContactTest();
    QVERIFY(h.bench.busy() || !h.runs->running());
    QTRY_VERIFY_WITH_TIMEOUT(h.runFinished(), 60000);
    QTest::qWait(200);  // the posted reports and the throttled redraw
    QCOMPARE(texts(h.op), messages);
    QVERIFY(!h.bench.busy());
    QCOMPARE(h.runs->powerIsOn(), expected.supplyMayBeOn);
    auto* power = h.window->findChild<QToolButton*>("SBPower");
    QVERIFY(power);
    QCOMPARE(power->isChecked(), expected.supplyMayBeOn);
    if (expected.supplyMayBeOn) QVERIFY(h.window->logText().contains(QString::fromStdString(kSupplyText)));
  };
  runAndCheck(true, expected.fullTest);
  if (QTest::currentTestFailed()) return;
  runAndCheck(false, expected.contactTest);
  if (QTest::currentTestFailed()) return;

  // The window still works: another test loads and shows, and zoom answers.
  h.op.shownMessages.clear();
  h.window->loadFile(example("dff7474.qel"));
  QVERIFY(h.window->pages()->isVisible());
  QVERIFY(h.op.shownMessages.empty());
  const int width = h.window->view().cellWidth;
  h.window->diagramPanel()->zoom(views::Zoom::Out);
  QVERIFY(h.window->view().cellWidth < width);
}

void GuiFaultTest::anEscapedExceptionIsReportedAndTheWindowStays() {
  auto* app = static_cast<GuardedApplication*>(QCoreApplication::instance());
  std::vector<std::string> reported;
  app->onFailure = [&](const std::string& text) { reported.push_back(text); };
  Harness h;
  h.window->loadFile(example("nand7400.qel"));
  QTimer::singleShot(0, h.window.get(), [] { throw std::runtime_error("сбой обработчика"); });
  QTimer::singleShot(0, h.window.get(), [] { throw std::bad_alloc(); });
  QTRY_COMPARE(reported.size(), size_t(2));
  QVERIFY(QString::fromStdString(reported[0]).contains("сбой обработчика"));
  QVERIFY(QString::fromStdString(reported[1]).contains("недостаточно памяти"));
  QVERIFY(h.window->isVisible());
  QVERIFY(h.window->pages()->isVisible());
  QCOMPARE(h.bench.test.cycleCount, 6);
  app->onFailure = nullptr;
}

int main(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  GuiFaultTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "gui_fault_test.moc"
