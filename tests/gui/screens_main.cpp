// Takes the screenshots of the user guide offscreen:
//   qeltest_screens DIR run      main window, diagram with errors, progress window (needs an output fault)
//   qeltest_screens DIR contact  package view after a contact fault (needs a pin without contact)
//   qeltest_screens DIR book     the reference book and the test description

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cstdio>

#include "gui/diagram_panel.h"
#include "gui/reference_book_dialog.h"
#include "gui/test_info_dialog.h"
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: qeltest_screens DIR run|contact\n");
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
