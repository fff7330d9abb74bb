#pragma once
// The program's hand-off endpoint (the hidden message window of the family): a local server
// named after the window that reports every hand-off addressed to this program.

#include <QLocalServer>
#include <QObject>

#include "app/hand_off.h"

namespace qel::gui {

class HandOffServer : public QObject {
  Q_OBJECT
 public:
  explicit HandOffServer(const app::Endpoint& own, QObject* parent = nullptr);
  // Listens unless another running program already does; empty on success, else why not.
  QString listen();
  bool listening() const { return server_.isListening(); }

 Q_SIGNALS:
  // A message with this program's number and WParam 777 arrived.
  void handOff();

 private:
  void accept();
  app::Endpoint own_;
  QLocalServer server_;
};

}  // namespace qel::gui
