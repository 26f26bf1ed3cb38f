#include "ping_server.h"

#include <QFile>
#include <QTcpSocket>

PingServer::PingServer() : PingServer(std::string()) {}

PingServer::PingServer(std::string folder) : folder_(std::move(folder)) {
  server_.listen(QHostAddress::LocalHost);
  QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
    while (QTcpSocket* client = server_.nextPendingConnection()) {
      auto head = std::make_shared<QByteArray>();
      QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, head] {
        head->append(client->readAll());
        if (!head->contains("\r\n\r\n")) return;
        requests_.push_back(head->toStdString());
        client->write(Answer(*head));
        client->disconnectFromHost();
      });
      QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
  });
}

QByteArray PingServer::Answer(const QByteArray& head) const {
  if (folder_.empty()) return "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
  // "GET /<path> HTTP/1.1"
  const QByteArray path = head.mid(5, head.indexOf(' ', 5) - 5);
  QFile file(QString::fromStdString(folder_) + "/" + QString::fromUtf8(path));
  if (path.contains("..") || !file.open(QIODevice::ReadOnly)) {
    return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
  }
  const QByteArray body = file.readAll();
  return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
