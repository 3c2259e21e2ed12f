// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtNetwork>

// A whole 200 answer with body.
inline QByteArray Answer200(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Answers every connection with one scripted reply and remembers the requests.
class RawServer : public QObject
{
public:
    explicit RawServer(QByteArray reply)
        : m_reply(std::move(reply))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                Serve(socket);
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    const QList<QByteArray>& requests() const { return m_requests; }

private:
    void Serve(QTcpSocket* socket)
    {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request = QByteArray()]() mutable {
            request += socket->readAll();
            if (!request.contains("\r\n\r\n"))
                return;
            m_requests << request;
            socket->write(m_reply);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QByteArray m_reply;
    QList<QByteArray> m_requests;
};
