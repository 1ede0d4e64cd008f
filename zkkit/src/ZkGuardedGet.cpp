#include "ZkGuardedGet.h"

#include "ZkHttpReply.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace zk
{

namespace
{

constexpr int MaxRedirects = 5;

class GuardedManager : public QNetworkAccessManager
{
public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override
    {
        const QString scheme = request.url().scheme();
        if (operation == GetOperation &&
            (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
            return new ZkHttpReply(request, this);
        return QNetworkAccessManager::createRequest(operation, request, outgoingData);
    }
};

// setTransferTimeout only measures silence; a server that trickles a byte
// now and then would beat it, so the whole request gets a deadline.
void abortAfter(QNetworkReply *reply, int timeoutMs)
{
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(timeoutMs);
}

// Stops as soon as the declared or the received size passes the cap. A
// guarded reply reports the body at least every 64 KiB and waits until it
// has, so this runs before much more is read.
void abortPast(QNetworkReply *reply, qint64 maxBytes)
{
    const auto check = [reply, maxBytes](qint64 received, qint64 total) {
        if (received > maxBytes || total > maxBytes)
            reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, check] {
        check(0, reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, check);
}

} // namespace

QNetworkAccessManager *newGuardedManager(QObject *parent)
{
    return new GuardedManager(parent);
}

QNetworkReply *guardedGet(QNetworkAccessManager *manager, const QUrl &url, int timeoutMs,
                          qint64 maxBytes)
{
    QNetworkRequest request(url);
    // Naming an encoding ourselves also turns off the network layer's
    // automatic inflating, so a compressed bomb stays the size it was sent.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setAttribute(ZkHttpReply::DeadlineAttribute, timeoutMs);

    QNetworkReply *reply = manager->get(request);
    abortAfter(reply, timeoutMs);
    abortPast(reply, maxBytes);
    return reply;
}

bool takeGuardedBody(QNetworkReply *reply, qint64 maxBytes, QByteArray *body)
{
    if (reply->error() != QNetworkReply::NoError || reply->bytesAvailable() > maxBytes)
        return false;
    *body = reply->readAll();
    return true;
}

} // namespace zk
