// Reaching a test by the chip's name: the reference book dialog, the chip-name box, the test's
// description, and files handed between programs of the family.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/hand_off.h"
#include "app/hand_off_client.h"
#include "app/reference_book.h"
#include "gui/hand_off_server.h"
#include "gui/message_box.h"
#include "gui/qt_settings_store.h"
#include "gui/reference_book_dialog.h"
#include "gui/test_info_dialog.h"
#include "gui_fixture.h"
#include "text/codepage.h"

using namespace qel;
using namespace qel::gui;
using qel::gui::testing::example;
using qel::gui::testing::Harness;

namespace {

QString fileName(const std::string& path) {
  return QFileInfo(qs(path)).fileName();
}

QStringList listed(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Typing, one key at a time; QTest's own key clicks take Latin-1 only.
void type(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

// Questions and messages the scripted operator recorded since the last call.
std::vector<std::pair<std::string, Icon>> takeShown(GuiOperator& op) {
  auto out = std::move(op.shownMessages);
  op.shownMessages.clear();
  return out;
}

}  // namespace

class BookTest : public QObject {
  Q_OBJECT
  QTemporaryDir scratch_;

 private Q_SLOTS:
  void initTestCase() {
    // Endpoints and the shared key of this run only, for the stand-ins in other processes too.
    QVERIFY(scratch_.isValid());
    qputenv("TMPDIR", QFile::encodeName(scratch_.path()));
    qputenv("QEL_SETTINGS_DIR", QFile::encodeName(scratch_.path() + "/settings"));
  }

  void bookDialogSearchesOpensAndSaves() {
    Harness h;
    ReferenceBookDialog* book = h.window->referenceBook();
    QVERIFY(book->loadBookFile(example("chips.lib")));
    QCOMPARE(h.settings.referenceBook, us(example("chips.lib")));
    book->show();
    QCOMPARE(book->resultList()->count(), 18);  // an empty search lists every name

    book->searchBox()->setFocus();
    type(book->searchBox(), "ла3");
    QCOMPARE(book->searchBox()->text(), QString("ЛА3"));
    QCOMPARE(listed(book->resultList()), QStringList({"К155ЛА3", "КР1533ЛА3"}));
    QCOMPARE(book->matchingFiles(), 1);
    QCOMPARE(book->findChild<QLineEdit*>("eFile")->text(), QString("nand7400.qel"));
    QCOMPARE(book->docFileName(), QString("7400.txt"));

    QString opened;
    book->openExternally = [&](const QString& path) { opened = path; };
    book->findChild<QPushButton*>("bbOpenFile")->click();
    QCOMPARE(QFileInfo(opened).canonicalFilePath(), QFileInfo(example("docs/7400.txt")).canonicalFilePath());

    book->resultList()->setCurrentRow(1);
    book->findChild<QPushButton*>("bOpen")->click();
    QVERIFY(!book->isVisible());
    QCOMPARE(fileName(h.bench.test.fileName), QString("nand7400.qel"));
    QCOMPARE(h.bench.test.chipName, std::string("КР1533ЛА3"));
    QCOMPARE(h.bench.test.descriptionFile, std::string("7400.txt"));
    QCOMPARE(h.window->namesBox()->currentText(), QString("КР1533ЛА3"));
    QVERIFY2(takeShown(h.op).empty(), "the box did not react to the program's own change");

    // Saved and loaded again, the book keeps its documentation.
    const QString saved = scratch_.filePath("copy.spr");
    h.window->chooseTestFile = [&](bool) { return saved; };
    book->saveBook();
    const auto before = book->book().entries();
    book->clearBook();
    QCOMPARE(book->resultList()->count(), 0);
    QVERIFY(book->loadBookFile(saved));
    QVERIFY(book->book().entries() == before);
    // Replacing asks first.
    h.op.scriptedAnswers = {false};
    book->saveBook();
    auto shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].first, std::string("Заменить существующий файл?"));

    // A book that cannot be read says so and leaves none named.
    QVERIFY(!book->loadBookFile(scratch_.filePath("none.lib")));
    QVERIFY(book->bookPath().isEmpty());
    shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QVERIFY(shown[0].first.rfind(app::kCannotOpenBook, 0) == 0);
  }

  void chipNameBox() {
    Harness h;
    h.window->referenceBook()->loadBookFile(example("chips.lib"));
    QLineEdit* box = h.window->namesBox()->lineEdit();
    box->setFocus();

    // Only one file carries names beginning "К155Т": offered at once, before the name is whole.
    h.op.scriptedAnswers = {true};
    type(box, "к155т");
    auto shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].first, std::string("Файл для микросхемы \"К155ТМ2\" найден. Загрузить?"));
    QCOMPARE(shown[0].second, Icon::Question);
    QCOMPARE(fileName(h.bench.test.fileName), QString("dff7474.qel"));
    QCOMPARE(h.bench.test.chipName, std::string("К155ТМ2"));
    QCOMPARE(h.bench.test.descriptionFile, std::string("7474.txt"));
    QCOMPARE(box->text(), QString("К155ТМ2"));

    // "74LS0" is in two files: nothing until the text equals a listed name; then the first line.
    box->clear();
    type(box, "74ls0");
    QVERIFY(takeShown(h.op).empty());
    h.op.scriptedAnswers = {false};
    type(box, "0");
    shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].first, std::string("Файл для микросхемы \"74LS00\" найден. Загрузить?"));
    // No: the chip on the bench stays, and so does its name in the box.
    QCOMPARE(fileName(h.bench.test.fileName), QString("dff7474.qel"));
    QCOMPARE(box->text(), QString("К155ТМ2"));

    // Nothing of that name: the box empties and says so (and the emptied box does nothing).
    box->selectAll();
    type(box, "Ж");
    shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0], std::make_pair(std::string("Файл не найден"), Icon::Error));
    QCOMPARE(box->text(), QString());
    QCOMPARE(fileName(h.bench.test.fileName), QString("dff7474.qel"));

    // Enter searches again; leaving the box puts the chip's name back.
    h.op.scriptedAnswers = {false};
    type(box, "к57");
    QCOMPARE(takeShown(h.op).size(), size_t(1));
    QTest::keyClick(box, Qt::Key_Return);
    shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    box->clear();
    type(box, "к1");
    QVERIFY(takeShown(h.op).empty());
    QCOMPARE(box->text(), QString("к1"));
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box, &away);
    QVERIFY2(box->text() == "к1", "a message box coming up is not leaving the box");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
    QCOMPARE(box->text(), QString("К155ТМ2"));
    QVERIFY(takeShown(h.op).empty());
  }

  void testDescription() {
    Harness h;
    h.window->action("acTestInfo")->trigger();
    auto shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0], std::make_pair(std::string("Сначала необходимо открыть файл"), Icon::Warning));

    const QString test = scratch_.filePath("ie7.qel");
    QFile::remove(test);
    QVERIFY(QFile::copy(example("nand7400.qel"), test));
    h.window->referenceBook()->loadBookFile(example("chips.lib"));
    h.window->referenceBook()->setSearchText("К155ЛА3");
    h.window->loadFile(test);
    h.bench.test.chipName = "К155ЛА3";

    h.window->onTestInfo = [&](TestInfoDialog& d) {
      QCOMPARE(d.windowTitle(), QString("Описание Теста"));
      QCOMPARE(d.findChild<QLineEdit*>("edSinName")->text(), QString("К155ЛА3"));
      QCOMPARE(QFileInfo(d.docPath()).fileName(), QString("7400.txt"));
      QVERIFY(d.comment()->toPlainText().isEmpty());
      d.comment()->setPlainText("Проверено на плате\nвторой ряд");
      d.nameEdit()->setText("Четыре И-НЕ");
      d.accept();
    };
    h.window->showTestInfo();
    QCOMPARE(h.bench.test.testNames[1], std::string("Четыре И-НЕ"));
    QFile comment(scratch_.filePath("ie7.txt"));
    QVERIFY(comment.open(QIODevice::ReadOnly));
    QCOMPARE(comment.readAll().toStdString(), text::utf8ToCp1251("Проверено на плате\r\nвторой ряд"));
    comment.close();

    // Read back next time; an empty comment leaves the file; Cancel changes nothing.
    h.window->onTestInfo = [&](TestInfoDialog& d) {
      QCOMPARE(d.comment()->toPlainText(), QString("Проверено на плате\nвторой ряд"));
      d.comment()->clear();
      d.accept();
    };
    h.window->showTestInfo();
    QVERIFY(QFileInfo(comment).size() > 0);

    // A comment that cannot be written is reported and stays in the open dialog.
    QVERIFY(QFile::remove(scratch_.filePath("ie7.txt")));
    QVERIFY(QDir(scratch_.path()).mkdir("ie7.txt"));
    bool stayed = false;
    h.window->onTestInfo = [&](TestInfoDialog& d) {
      d.comment()->setPlainText("не потерять");
      d.show();
      d.accept();
      stayed = d.isVisible() && d.comment()->toPlainText() == "не потерять";
      d.reject();
    };
    h.window->showTestInfo();
    QVERIFY(stayed);
    shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].second, Icon::Error);
    QDir(scratch_.path()).rmdir("ie7.txt");
  }

  void handOffReceivedInProcess() {
    Harness h;
    HandOffServer server(app::kTesterEndpoint);
    QCOMPARE(server.listen(), QString());
    connect(&server, &HandOffServer::handOff, h.window.get(), &MainWindow::receiveHandOff);
    // Another program listening there already keeps its endpoint.
    HandOffServer second(app::kTesterEndpoint);
    QVERIFY(!second.listen().isEmpty());

    QVERIFY(app::writeHandOffPath(h.store, us(example("dff7474.qel"))));
    QCOMPARE(app::postHandOff(app::kTesterEndpoint, {1101, 778, 0}), std::string());
    QCOMPARE(app::postHandOff(app::kTesterEndpoint, {1100, 777, 0}), std::string());
    QCOMPARE(app::postHandOff(app::kTesterEndpoint, app::handOffFor(app::kTesterEndpoint)), std::string());
    QTRY_COMPARE(fileName(h.bench.test.fileName), QString("dff7474.qel"));
    QVERIFY(takeShown(h.op).empty());

    // The value missing: the message, and a load of nothing.
    h.store.keys.clear();
    QCOMPARE(app::postHandOff(app::kTesterEndpoint, app::handOffFor(app::kTesterEndpoint)), std::string());
    QTRY_VERIFY(!h.op.shownMessages.empty());
    QCOMPARE(h.op.shownMessages[0], std::make_pair(std::string(app::kHandOffReadFailed), Icon::Error));
  }

  void handOffBetweenProcesses() {
    // qel open -> a program listening at the tester's endpoint.
    QProcess peer;
    peer.start(HAND_OFF_PEER, {"tester"});
    QVERIFY(peer.waitForReadyRead(20000));
    QCOMPARE(peer.readLine().trimmed(), QByteArray("listening"));
    const QString test = scratch_.filePath("Счётчик 161.qel");
    QFile::remove(test);
    QVERIFY(QFile::copy(example("counter161_radix16.qel"), test));
    QProcess qel;
    qel.setWorkingDirectory(scratch_.path());
    qel.start(QEL_BINARY, {"open", "Счётчик 161.qel"});
    QVERIFY(qel.waitForFinished(20000));
    QCOMPARE(qel.exitCode(), 0);
    QVERIFY(peer.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(peer.readAll().trimmed()), test);
    // Nobody listening any more.
    qel.start(QEL_BINARY, {"open", test});
    QVERIFY(qel.waitForFinished(20000));
    QCOMPARE(qel.exitCode(), 1);

    // "Открыть в редакторе" -> a running editor, through the settings store the program uses.
    struct {
      QtSettingsStore store{qEnvironmentVariable("QEL_SETTINGS_DIR")};
      engine::Bench bench;
      app::Settings settings;
      ProgressWindow progress;
      WaitWindow wait;
      GuiOperator op{progress, wait};
      std::unique_ptr<MainWindow> window;
    } h;
    h.op.setScripted(true);
    h.window = std::make_unique<MainWindow>(
        MainWindowParts{h.bench, h.settings, h.store, h.op, h.progress, h.wait, nullptr, "/opt/qel/qeltest"});
    h.window->quitOnClose = false;
    h.window->loadFile(example("nand7400.qel"));
    peer.start(HAND_OFF_PEER, {});
    QVERIFY(peer.waitForReadyRead(20000));
    QVERIFY(h.window->openInEditor());
    QVERIFY(peer.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(peer.readAll()).split('\n').value(1).trimmed(), example("nand7400.qel"));

    // No editor running: "Dir_QEL" + "QelEdit.exe" is started and handed the file.
    const QString dirQel = scratch_.path() + "/editor/";
    QDir().mkpath(dirQel);
    QFile::remove(dirQel + "QelEdit.exe");
    QVERIFY(QFile::copy(HAND_OFF_PEER, dirQel + "QelEdit.exe"));
    const QString out = scratch_.filePath("editor-got");
    qputenv("HAND_OFF_PEER_OUT", QFile::encodeName(out));
    h.settings.dirQel = us(dirQel);
    QVERIFY(h.window->openInEditor());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out), 20000);
    QFile got(out);
    QVERIFY(got.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(got.readAll()), example("nand7400.qel"));
    qunsetenv("HAND_OFF_PEER_OUT");

    // The editor not installed: said, not reported as done.
    QTRY_VERIFY(!app::endpointAnswers(app::kEditorEndpoint));
    h.settings.dirQel = us(scratch_.path() + "/nowhere/");
    QVERIFY(!h.window->openInEditor());
    const auto shown = takeShown(h.op);
    QCOMPARE(shown.size(), size_t(1));
    QVERIFY(shown[0].first.rfind(app::kHandOffSendFailed, 0) == 0);
  }
};

QTEST_MAIN(BookTest)
#include "book_test.moc"
