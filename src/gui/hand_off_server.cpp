#include "gui/hand_off_server.h"

#include <QLocalSocket>

#include "app/hand_off_client.h"

namespace qel::gui {

namespace {
// A message is one short line; a peer that sends more without a break is not one of the family.
constexpr qint64 kMaxLine = 64;
}  // namespace

HandOffServer::HandOffServer(const app::Endpoint& own, QObject* parent) : QObject(parent), own_(own) {
  // Only the user's own programs may make this one load a file.
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &HandOffServer::accept);
}

QString HandOffServer::listen() {
  const QString name = QString::fromLatin1(own_.name);
  // A running program keeps its endpoint; a name left behind by one that crashed is taken over.
  if (app::endpointAnswers(own_)) return "another program listens at " + name;
  QLocalServer::removeServer(name);
  if (server_.listen(name)) return {};
  return server_.errorString();
}

void HandOffServer::accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto drain = [this, socket] {
      while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxLine + 1).trimmed();
        const auto m = app::decodeHandOff(std::string_view(line.constData(), size_t(line.size())));
        if (m && app::isHandOffFor(*m, own_)) Q_EMIT handOff();
      }
      if (socket->bytesAvailable() > kMaxLine) socket->abort();
    };
    connect(socket, &QLocalSocket::readyRead, this, drain);
    drain();
  }
}

}  // namespace qel::gui
