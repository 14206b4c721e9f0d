// An HTTP server on the loopback address that the test starts: every request
// gets the one scripted reply, or none while the reply is held (until
// release()). Nothing leaves the machine.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace apptest {

class LoopbackHttpServer final : public QObject {
 public:
  struct Reply {
    QByteArray status = "200 OK";
    QByteArray body;
    QByteArray location;
    bool held = false;
  };

  LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
    });
  }

  QUrl url(const QString& path = QStringLiteral("/updates.json")) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
  }

  void release() {
    reply.held = false;
    for (const QPointer<QTcpSocket>& socket : std::exchange(waiting_, {}))
      if (socket) answer(socket);
  }

  Reply reply;
  int requests = 0;

 private:
  void read(QTcpSocket* socket) {
    QByteArray& request = pending_[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n")) return;
    ++requests;
    if (reply.held)
      waiting_.append(socket);
    else
      answer(socket);
  }

  void answer(QTcpSocket* socket) {
    QByteArray head = "HTTP/1.1 " + reply.status + "\r\nContent-Type: application/json\r\nConnection: close\r\n";
    if (!reply.location.isEmpty()) head += "Location: " + reply.location + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n";
    socket->write(head + reply.body);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> pending_;
  QList<QPointer<QTcpSocket>> waiting_;
};

}  // namespace apptest
