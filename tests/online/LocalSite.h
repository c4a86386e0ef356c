#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP server on the loopback address that answers each path from a table, or never
// answers when asked to be slow.
class LocalSite
{
public:
    explicit LocalSite(bool slow = false)
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this, slow] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, slow] {
                const QList<QByteArray> line = socket->readLine().split(' ');
                socket->readAll();
                if (slow || line.size() < 2)
                    return;
                const QByteArray path = line[1];
                ++requests;
                const QByteArray body = pages.value(path.split('?').first(), {});
                socket->write(
                    (body.isNull() ? "HTTP/1.1 404 Not Found\r\n" : "HTTP/1.1 200 OK\r\n") +
                    QByteArray("Content-Type: text/html; charset=utf-8\r\n"
                               "Connection: close\r\nContent-Length: ") +
                    QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }

    QTcpServer server;
    QHash<QByteArray, QByteArray> pages;
    int requests = 0;
};
