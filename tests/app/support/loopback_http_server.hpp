// An HTTP server on the loopback address that the test starts: every request
// gets the one scripted response, or no answer at all while it is empty.
// Nothing leaves the machine.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace apptest {

class LoopbackHttpServer final : public QObject {
 public:
  LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
          // The updater's request is small: its head ends in the first read.
          if (!socket->readAll().contains("\r\n\r\n")) return;
          ++requests;
          if (response.isEmpty()) return;
          socket->write(response);
          socket->disconnectFromHost();
        });
    });
  }

  static QByteArray reply(const QByteArray& status, const QByteArray& body, const QByteArray& header = {}) {
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + header +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
  }

  QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/updates.json").arg(server_.serverPort())); }

  QByteArray response;
  int requests = 0;

 private:
  QTcpServer server_;
};

}  // namespace apptest
