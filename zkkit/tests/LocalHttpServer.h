#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

// An HTTP server on 127.0.0.1 for the network tests: canned replies per
// path, the ways a slow or hostile server misbehaves, and the request line
// of every request. Replies close their connection.

#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

class LocalHttpServer : public QTcpServer
{
public:
    // Trickle: a body byte per 50 ms. Endless*: after the response, endless
    // zero bytes, chunks of them, or header lines.
    enum Behaviour { Answer, NeverAnswer, Trickle, Endless, EndlessChunks, EndlessHead };

    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost);
        m_base = QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    static QByteArray reply(const QByteArray &body, const QByteArray &status = "200 OK",
                            const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }
    static QByteArray redirect(const QByteArray &to)
    {
        return reply({}, "302 Found", "Location: " + to + "\r\n");
    }

    void route(const QByteArray &path, const QByteArray &response, Behaviour behaviour = Answer)
    {
        m_routes.insert(path, {response, behaviour});
    }
    QString url(const QByteArray &path) const { return m_base + QString::fromLatin1(path); }

    // Tables of what a server does and whether the client should take it.
    static void columns()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("behaviour");
        QTest::addColumn<bool>("taken");
    }
    static void row(const char *name, const QByteArray &response, bool taken,
                    Behaviour behaviour = Answer)
    {
        QTest::newRow(name) << response << int(behaviour) << taken;
    }
    // Serves the current row at path, an empty response by refusing every
    // connection. Returns the deadline for the client: short only for the
    // servers that are slow on purpose, so that the size cap alone must stop
    // the others.
    int serveRow(const QByteArray &path)
    {
        QFETCH(QByteArray, response);
        QFETCH(int, behaviour);
        route(path, response, Behaviour(behaviour));
        if (response.isEmpty())
            close();
        return behaviour == NeverAnswer || behaviour == Trickle ? 400 : 60 * 1000;
    }

    QList<QByteArray> requestLines;

private:
    void serve(QTcpSocket *socket)
    {
        if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
            return;
        requestLines << socket->readAll().split('\r').first();
        const QByteArray path = requestLines.last().split(' ').value(1).split('?').first();
        const auto route = m_routes.value(path, {reply("", "404 Not Found"), Answer});
        const Behaviour behaviour = route.second;
        const int head = behaviour == Answer || behaviour == EndlessHead
                             ? route.first.size()
                             : route.first.indexOf("\r\n\r\n") + 4;
        if (behaviour != NeverAnswer)
            socket->write(route.first.left(head));
        if (behaviour == Answer)
            return socket->disconnectFromHost();
        QByteArray endless(64 * 1024, '\0');
        if (behaviour == EndlessChunks)
            endless = "10000\r\n" + endless + "\r\n";
        else if (behaviour == EndlessHead)
            endless = ("X-Filler: " + QByteArray(1000, 'x') + "\r\n").repeated(64);
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket,
                [=, body = route.first.mid(head), sent = 0]() mutable {
                    if (behaviour == Trickle && sent < body.size())
                        socket->write(body.mid(sent++, 1));
                    else if (behaviour != Trickle && socket->bytesToWrite() < 1 << 20)
                        socket->write(endless);
                });
        timer->start(behaviour == Trickle ? 50 : 0);
    }

    QString m_base;
    QHash<QByteArray, QPair<QByteArray, Behaviour>> m_routes;
};

inline quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Served with "Content-Encoding: gzip", this unpacks to data only if the
// client inflates it.
inline QByteArray gzip(const QByteArray &data)
{
    const QByteArray zlib = qCompress(data).mid(4); // Qt prefixes the length
    QByteArray member =
        QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + zlib.mid(2, zlib.size() - 6);
    for (const quint32 value : {crc32(data), quint32(data.size())}) {
        const quint32 little = qToLittleEndian(value);
        member.append(reinterpret_cast<const char *>(&little), 4);
    }
    return member;
}

#endif // LOCALHTTPSERVER_H
