#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

// An HTTP server on 127.0.0.1 for the network tests: canned replies per
// path, the ways a slow or hostile server misbehaves, and a record of the
// raw head of every request. Every reply closes its connection, so each
// request arrives on a connection of its own.

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

class LocalHttpServer : public QTcpServer
{
public:
    enum Behaviour {
        Answer,      // the whole reply at once
        NeverAnswer, // accepts and stays silent
        Trickle,     // the head at once, then one body byte every 50 ms
        Endless      // the head, then zeros until the client gives up (or 100 MB)
    };

    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, &LocalHttpServer::acceptAll);
    }

    static QByteArray reply(const QByteArray &body, const QByteArray &status = "200 OK",
                            const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }

    void route(const QByteArray &path, const QByteArray &response, Behaviour behaviour = Answer)
    {
        m_routes.insert(path, {response, behaviour});
    }

    // /hopN redirects to /hopN-1 and /hop0 gives response, so a request for
    // /hopN meets N redirects.
    void redirectChain(int hops, const QByteArray &response)
    {
        for (int i = hops; i > 0; --i)
            route("/hop" + QByteArray::number(i),
                  reply({}, "302 Found", "Location: /hop" + QByteArray::number(i - 1) + "\r\n"));
        route("/hop0", response);
    }

    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
    }

    QList<QByteArray> requests; // raw heads, request line first

private:
    struct Route {
        QByteArray response;
        Behaviour behaviour;
    };

    void acceptAll()
    {
        while (QTcpSocket *socket = nextPendingConnection())
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
    }

    void serve(QTcpSocket *socket)
    {
        if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
            return;
        const QByteArray head = socket->readAll();
        requests.append(head);
        const QByteArray target = head.split(' ').value(1);
        const Route route = m_routes.value(target.split('?').first(),
                                           {reply("no such page", "404 Not Found"), Answer});
        const int bodyStart = route.response.indexOf("\r\n\r\n") + 4;
        switch (route.behaviour) {
        case Answer:
            socket->write(route.response);
            socket->disconnectFromHost();
            break;
        case NeverAnswer:
            break;
        case Trickle:
            socket->write(route.response.left(bodyStart));
            trickle(socket, route.response.mid(bodyStart));
            break;
        case Endless:
            socket->write(route.response.left(bodyStart));
            pour(socket);
            break;
        }
    }

    static void trickle(QTcpSocket *socket, const QByteArray &body)
    {
        auto *timer = new QTimer(socket);
        auto sent = std::make_shared<int>(0);
        connect(timer, &QTimer::timeout, socket, [socket, body, sent] {
            if (*sent < body.size())
                socket->write(body.mid((*sent)++, 1));
        });
        timer->start(50);
    }

    static void pour(QTcpSocket *socket)
    {
        constexpr qint64 Total = 100 * 1024 * 1024;
        const QByteArray chunk(64 * 1024, '\0');
        auto sent = std::make_shared<qint64>(0);
        auto more = [socket, chunk, sent] {
            if (*sent < Total && socket->bytesToWrite() < chunk.size())
                *sent += socket->write(chunk);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    QHash<QByteArray, Route> m_routes;
};

// Bytes a hostile server might send, built here so the tests carry no
// binary files.
namespace Hostile
{

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

inline QByteArray littleEndian(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A gzip member around data; served with "Content-Encoding: gzip" it
// unpacks to data only if the client inflates it.
inline QByteArray gzip(const QByteArray &data)
{
    const QByteArray zlib = qCompress(data).mid(4); // Qt prefixes the length
    QByteArray member("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10);
    member += zlib.mid(2, zlib.size() - 6); // raw deflate: no zlib head, no Adler-32
    return member + littleEndian(crc32(data)) + littleEndian(static_cast<quint32>(data.size()));
}

} // namespace Hostile

#endif // LOCALHTTPSERVER_H
