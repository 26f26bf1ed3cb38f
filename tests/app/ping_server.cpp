#include "ping_server.h"

#include <QTcpSocket>

PingServer::PingServer() {
  server_.listen(QHostAddress::LocalHost);
  QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
    while (QTcpSocket* client = server_.nextPendingConnection()) {
      auto head = std::make_shared<QByteArray>();
      QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, head] {
        head->append(client->readAll());
        if (!head->contains("\r\n\r\n")) return;
        requests_.push_back(head->toStdString());
        client->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
        client->disconnectFromHost();
      });
      QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
  });
}
