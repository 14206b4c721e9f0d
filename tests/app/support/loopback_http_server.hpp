// An HTTP server on the loopback address answering every request with the one scripted
// response (none while it is empty), its body a byte at a time with a trickle, or, when
// endless, the response's head followed by a chunked body that never ends.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <memory>

namespace apptest {

class LoopbackHttpServer final : public QObject {
 public:
  LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, this, [this] { ++closedConnections; });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
          // The updater's request is small: its head ends in the first read.
          const QByteArray request = socket->readAll();
          if (!request.contains("\r\n\r\n")) return;
          ++requests;
          lastRequest = request;
          if (response.isEmpty()) return;
          if (endless) {
            socket->write(response);
            pourChunks(socket);
            return;
          }
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
      }
    });
  }

  static QByteArray reply(const QByteArray& status, const QByteArray& body, const QByteArray& header = {}) {
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + header +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
  }

  // The head of an answer whose body comes in chunks, for an endless server.
  static QByteArray chunkedHead(const QByteArray& status) {
    return "HTTP/1.1 " + status + "\r\nTransfer-Encoding: chunked\r\nContent-Type: text/plain\r\n\r\n";
  }

  QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/updates.json").arg(server_.serverPort())); }

  QByteArray response;
  std::chrono::milliseconds trickle{};
  // The body never ends: chunks follow as fast as the client reads them, up to
  // endlessLimit bytes (so that a client keeping them all cannot take the
  // machine's memory), after which the server falls silent.
  bool endless = false;
  qint64 endlessLimit = qint64{256} << 20;
  int requests = 0;
  int closedConnections = 0;
  // The last request's head.
  QByteArray lastRequest;

 private:
  // Keeps a little ahead of the client, so that the server itself holds little.
  void pourChunks(QTcpSocket* socket) const {
    static const QByteArray chunk = "4000\r\n" + QByteArray(0x4000, 'x') + "\r\n";
    const auto pour = [socket, left = std::make_shared<qint64>(endlessLimit)] {
      while (socket->bytesToWrite() < 4 * chunk.size() && *left > 0) {
        socket->write(chunk);
        *left -= chunk.size();
      }
    };
    pour();
    connect(socket, &QTcpSocket::bytesWritten, socket, pour);
  }

  QTcpServer server_;
};

}  // namespace apptest
