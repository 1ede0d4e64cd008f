#ifndef ZKHTTPCLIENT_H
#define ZKHTTPCLIENT_H

#include "zkkit_export.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// One HTTP or HTTPS request as a value. Every request is bounded: it ends at
// its deadline, however the server drips its reply, and a body past maxBytes
// stops it. Redirects are not followed; a redirect is the answer, so no
// credential of the request ever travels to another server.
struct ZKKIT_EXPORT ZkHttpRequest {
    QByteArray method = "GET"; // or PUT, MOVE, PROPFIND, MKCOL, DELETE, …
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers; // Destination, Depth, Authorization, …
    QByteArray body;
    int timeoutMs = 20000;
    qint64 maxBytes = 1024 * 1024;
};

// What came back. A server that answered at all, with whatever status, has
// answered; a failure is a request that got no whole answer.
struct ZKKIT_EXPORT ZkHttpResponse {
    enum Failure {
        None,
        Deadline,    // no whole answer before the request's deadline
        TooLarge,    // the body grew past the request's bound
        Unreachable, // refused, unresolved or cut off before a head came
        Secure,      // the TLS handshake or the certificate failed
        Other
    };

    Failure failure = Other;
    int status = 0; // 0 without an answer
    QByteArray reason;
    QList<QPair<QByteArray, QByteArray>> headers; // names as the server wrote them
    QByteArray body;
    QString errorText; // for people: the server's reason or the network's

    bool answered() const { return failure == None; }
    // The first field of that name, whatever its case; empty if none.
    QByteArray header(const QByteArray &name) const;
};

// Sends bounded requests, each carried out by libcurl in the event loop of
// the client's thread: nothing blocks, and a slow or hostile server costs
// only its own request. Requests run side by side; each answer comes back
// once, to the function given with it, unless the client is destroyed or
// abortAll() is called first.
class ZKKIT_EXPORT ZkHttpClient : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(const ZkHttpResponse &)>;

    explicit ZkHttpClient(QObject *parent = nullptr);
    ~ZkHttpClient() override;

    void send(const ZkHttpRequest &request, Done done);
    // Ends every request under way without calling its function.
    void abortAll();
    int pending() const { return m_replies.size(); }

private:
    void finished(QNetworkReply *reply, const Done &done);

    QNetworkAccessManager *m_manager; // child
    QList<QNetworkReply *> m_replies; // children of the manager, under way
};

#endif // ZKHTTPCLIENT_H
