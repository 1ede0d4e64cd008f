#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

// An HTTP server on 127.0.0.1 for the network tests: canned replies per
// path, the ways a slow or hostile server misbehaves, and the raw head of
// every request. Replies close their connection.

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class LocalHttpServer : public QTcpServer
{
public:
    enum Behaviour { Answer, NeverAnswer, Trickle, Endless }; // Trickle: a body byte per 50 ms

    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost);
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
    // /hopN is N redirects away from response
    void redirectChain(int hops, const QByteArray &response)
    {
        for (int i = hops; i > 0; --i)
            route("/hop" + QByteArray::number(i), redirect("/hop" + QByteArray::number(i - 1)));
        route("/hop0", response);
    }
    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
    }

    QList<QByteArray> requests;

private:
    void serve(QTcpSocket *socket)
    {
        if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
            return;
        requests.append(socket->readAll());
        const QByteArray path = requests.last().split(' ').value(1).split('?').first();
        const auto route = m_routes.value(path, {reply("", "404 Not Found"), Answer});
        const QByteArray body = route.first.mid(route.first.indexOf("\r\n\r\n") + 4);
        if (route.second == Answer) {
            socket->write(route.first);
            socket->disconnectFromHost();
        } else if (route.second != NeverAnswer) {
            socket->write(route.first.left(route.first.size() - body.size()));
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket, body, sent = 0, route]() mutable {
                if (route.second == Endless && socket->bytesToWrite() < 1 << 20)
                    socket->write(QByteArray(64 * 1024, '\0'));
                else if (route.second == Trickle && sent < body.size())
                    socket->write(body.mid(sent++, 1));
            });
            timer->start(route.second == Trickle ? 50 : 0);
        }
    }

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
    for (const quint32 value : {crc32(data), quint32(data.size())})
        for (int i = 0; i < 4; ++i)
            member.append(char((value >> (8 * i)) & 0xFF));
    return member;
}

#endif // LOCALHTTPSERVER_H
