// A stand-in for a program of the family: listens at the editor's endpoint (or the tester's with
// the argument "tester"), says "listening" on standard output, and on the first hand-off writes
// the path it was handed to standard output, or to the file $HAND_OFF_PEER_OUT, and ends.

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

#include "app/hand_off.h"
#include "gui/hand_off_server.h"
#include "gui/qt_settings_store.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const bool tester = argc > 1 && QByteArray(argv[1]) == "tester";
  qel::gui::HandOffServer server(tester ? qel::app::kTesterEndpoint : qel::app::kEditorEndpoint);
  if (const QString failure = server.listen(); !failure.isEmpty()) {
    std::fprintf(stderr, "hand_off_peer: %s\n", qPrintable(failure));
    return 2;
  }
  std::printf("listening\n");
  std::fflush(stdout);
  QObject::connect(&server, &qel::gui::HandOffServer::handOff, &application, [] {
    qel::gui::QtSettingsStore store(qEnvironmentVariable("QEL_SETTINGS_DIR"));
    qel::SilentOperator op;
    const std::string path = qel::app::receivedPath(store, op);
    const QString out = qEnvironmentVariable("HAND_OFF_PEER_OUT");
    if (out.isEmpty()) {
      std::printf("%s\n", path.c_str());
    } else {
      QSaveFile f(out);
      if (f.open(QIODevice::WriteOnly)) {
        f.write(QByteArray::fromStdString(path));
        f.commit();
      }
    }
    QCoreApplication::quit();
  });
  return QCoreApplication::exec();
}
