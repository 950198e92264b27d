#pragma once
// A tiny HTTP server on 127.0.0.1 for the update check: answers every GET with one fixed
// response and remembers the request lines. It runs on the test's thread, so the test
// keeps processing events while the window's download thread waits for the answer.

#include <QByteArray>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class LocalHttpServer {
public:
    explicit LocalHttpServer(QByteArray body, int status = 200) : body_(std::move(body)), status_(status)
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    QStringList requests;

private:
    void answer(QTcpSocket* socket)
    {
        QByteArray& pending = pending_[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        requests << QString::fromLatin1(pending.left(pending.indexOf("\r\n")));
        pending_.remove(socket);
        const QByteArray reason = status_ == 200 ? "OK" : "Not Found";
        socket->write("HTTP/1.1 " + QByteArray::number(status_) + " " + reason + "\r\nContent-Type: text/xml\r\n" +
                      "Content-Length: " + QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QByteArray body_;
    int status_;
    QHash<QTcpSocket*, QByteArray> pending_;
};
