#ifndef FAULTPROXY_H
#define FAULTPROXY_H

// Stands between the reader and a real WebDAV server on 127.0.0.1 and does
// to chosen requests what servers out there do: answers 503 with a
// Retry-After, answers 401, cuts the connection in the middle of an upload
// (after passing half of its body on), or takes the request and never
// answers. Every request it sees is listed, faulted or not.

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class FaultProxy : public QTcpServer
{
public:
    enum Fault { None, Busy, Unauthorized, DropUpload, Stall };

    explicit FaultProxy(const QUrl &upstream) : m_upstream(upstream)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = nextPendingConnection()) {
                connect(client, &QTcpSocket::readyRead, this, [this, client] { take(client); });
                connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            }
        });
    }

    QUrl url() const
    {
        QUrl url = m_upstream;
        url.setPort(serverPort());
        return url;
    }

    // The fault hits requests of that method ("" for any) from now on.
    void setFault(Fault fault, const QByteArray &method = QByteArray())
    {
        m_fault = fault;
        m_method = method;
    }

    QList<QByteArray> requests; // "PUT /Quirelle/….part"
    int faulted = 0;
    int retryAfterSeconds = 1;

private:
    void take(QTcpSocket *client)
    {
        QByteArray &buffer = m_buffers[client];
        buffer += client->readAll();
        const int headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QByteArray head = buffer.left(headEnd + 4);
        const qint64 length = contentLength(head);
        const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
        const bool hit = m_fault != None && (m_method.isEmpty() || line.value(0) == m_method);
        if (buffer.size() < headEnd + 4 + length && !(hit && m_fault == DropUpload))
            return;
        requests << line.value(0) + ' ' + line.value(1);
        faulted += hit ? 1 : 0;
        if (!hit)
            return forward(client, withoutKeepAlive(head) + buffer.mid(headEnd + 4));
        switch (m_fault) {
        case Busy:
            return answer(client, "503 Service Unavailable",
                          "Retry-After: " + QByteArray::number(retryAfterSeconds) + "\r\n");
        case Unauthorized:
            return answer(client, "401 Unauthorized", "WWW-Authenticate: Basic realm=\"dav\"\r\n");
        case DropUpload:
            return dropUpload(client, head, buffer.mid(headEnd + 4), length);
        default: // Stall: the request stays unanswered while the client waits
            m_buffers.remove(client);
            client->disconnect(this);
            return;
        }
    }

    static qint64 contentLength(const QByteArray &head)
    {
        for (const QByteArray &field : head.split('\n')) {
            if (field.toLower().startsWith("content-length:"))
                return field.mid(15).trimmed().toLongLong();
        }
        return 0;
    }

    static QByteArray withoutKeepAlive(const QByteArray &head)
    {
        QByteArray fields;
        for (const QByteArray &field : head.split('\n')) {
            if (!field.toLower().startsWith("connection:") && !field.trimmed().isEmpty())
                fields += field.trimmed() + "\r\n";
        }
        return fields + "Connection: close\r\n\r\n";
    }

    void answer(QTcpSocket *client, const QByteArray &status, const QByteArray &fields)
    {
        m_buffers.remove(client);
        client->write("HTTP/1.1 " + status + "\r\n" + fields +
                      "Content-Length: 0\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
    }

    // Half the body reaches the server, then both connections break.
    void dropUpload(QTcpSocket *client, const QByteArray &head, const QByteArray &body,
                    qint64 length)
    {
        m_buffers.remove(client);
        auto *server = new QTcpSocket(client);
        const QByteArray half = withoutKeepAlive(head) + body.left(int(length / 2));
        connect(server, &QTcpSocket::connected, server, [server, client, half] {
            server->write(half);
            server->flush();
            server->abort();
            client->abort();
        });
        server->connectToHost(QHostAddress::LocalHost, quint16(m_upstream.port()));
    }

    void forward(QTcpSocket *client, const QByteArray &request)
    {
        m_buffers.remove(client);
        auto *server = new QTcpSocket(client);
        connect(server, &QTcpSocket::connected, server,
                [server, request] { server->write(request); });
        connect(server, &QTcpSocket::readyRead, client,
                [server, client] { client->write(server->readAll()); });
        connect(server, &QTcpSocket::disconnected, client, [server, client] {
            client->write(server->readAll());
            client->disconnectFromHost();
        });
        server->connectToHost(QHostAddress::LocalHost, quint16(m_upstream.port()));
    }

    QUrl m_upstream;
    Fault m_fault = None;
    QByteArray m_method;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

#endif // FAULTPROXY_H
