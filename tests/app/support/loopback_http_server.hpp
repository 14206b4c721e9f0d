// An HTTP server on the loopback address answering every request with the one scripted
// response (none while it is empty), its body a byte at a time with a trickle.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <chrono>

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
          if (trickle == std::chrono::milliseconds::zero()) {
            socket->write(response);
            socket->disconnectFromHost();
            return;
          }
          const qsizetype head = response.indexOf("\r\n\r\n") + 4;
          socket->write(response.left(head));
          auto* drip = new QTimer(socket);
          connect(drip, &QTimer::timeout, socket, [socket, body = response.mid(head), sent = qsizetype{0}]() mutable {
            if (sent < body.size()) socket->write(body.mid(sent++, 1));
          });
          drip->start(trickle);
        });
    });
  }

  static QByteArray reply(const QByteArray& status, const QByteArray& body, const QByteArray& header = {}) {
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + header +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
  }

  QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/updates.json").arg(server_.serverPort())); }

  QByteArray response;
  std::chrono::milliseconds trickle{};
  int requests = 0;

 private:
  QTcpServer server_;
};

}  // namespace apptest
