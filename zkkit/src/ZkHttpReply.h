#ifndef ZKHTTPREPLY_H
#define ZKHTTPREPLY_H

// Private to the library. An HTTP/1.1 GET that the library makes itself
// instead of handing it to Qt's HTTP thread. That thread reads the head of a
// reply byte by byte for as long as bytes keep coming: a server that never
// ends its head holds the thread, and with it every later request of the
// manager, for as long as it likes, and the head grows in memory without end.
//
// Here every part of an exchange is bounded. The head may hold 64 KiB, a
// chunk line 1 KiB; the socket buffers at most 64 KiB of the body, which is
// appended to the reply and announced (readyRead, downloadProgress) at once,
// so an owner that checks the size there stops an endless body within 64 KiB
// of its cap, however fast the server sends. Redirects are followed as
// QNetworkRequest::NoLessSafeRedirectPolicy does, up to the request's maximum;
// with any other policy the redirect is the reply. Each request has its own
// connection ("Connection: close"), so a hostile one takes nothing from the
// next. The body is never inflated.

#include <QNetworkReply>
#include <QNetworkRequest>

class QAbstractSocket;

class ZkHttpReply : public QNetworkReply
{
    Q_OBJECT

public:
    ZkHttpReply(const QNetworkRequest &request, QObject *parent);

    void abort() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    enum class Stage { Head, Body, ChunkLine, ChunkData, ChunkEnd, Trailer };

    void connectTo(const QUrl &url);
    void sendRequest();
    void receive();
    bool takeHead();
    void startBody(int status);
    bool takeBodyBytes();
    bool takeChunkLine();
    bool takeChunkEnd();
    bool takeTrailer();
    bool redirect(int status);
    void socketError();
    void fail(NetworkError code, const QString &text);
    void finish();
    void dropSocket();

    QAbstractSocket *m_socket = nullptr; // child, one per connection
    Stage m_stage = Stage::Head;
    QByteArray m_pending;                 // received, not parsed yet
    QByteArray m_body;                    // parsed, not read by the owner yet
    qint64 m_received = 0;                // body bytes so far
    qint64 m_total = -1;                  // declared body length, -1 if none
    qint64 m_left = -1;                   // of the body or the chunk; -1 until the connection ends
    int m_redirects = 0;                  // followed so far
    NetworkError m_statusError = NoError; // of a 4xx or 5xx status, reported at the end
};

#endif // ZKHTTPREPLY_H
