#pragma once

#include <QByteArray>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

namespace vantrel::testing {

// A minimal HTTP server on 127.0.0.1 for the version check: answers each path with its
// canned status line and headers, or never answers a path marked silent.
class LoopbackServer : public QObject {
 public:
  LoopbackServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
      }
    });
  }

  QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
  void route(const QByteArray& path, const QByteArray& response) { m_routes[path] = response; }
  void silent(const QByteArray& path) { m_routes[path] = QByteArray(); }
  QList<QByteArray> requests;

 private:
  void answer(QTcpSocket* socket) {
    m_pending[socket] += socket->readAll();
    if (!m_pending[socket].contains("\r\n\r\n")) return;
    const QByteArray request = m_pending.take(socket);
    const QByteArray path = request.split(' ').value(1);
    requests << request.left(request.indexOf("\r\n"));
    const auto found = m_routes.find(path);
    if (found != m_routes.end() && found->isEmpty()) return;  // accept, never answer
    const QByteArray response =
        found != m_routes.end() ? *found : QByteArray("HTTP/1.1 404 Not Found\r\n");
    socket->write(response + "Content-Length: 0\r\nConnection: close\r\n\r\n");
    socket->disconnectFromHost();
  }

  QTcpServer m_server;
  QMap<QByteArray, QByteArray> m_routes;
  QMap<QTcpSocket*, QByteArray> m_pending;
};

}  // namespace vantrel::testing
