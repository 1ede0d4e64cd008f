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
    // The manager's own overloads hand a body over as a buffer that holds it
    // whole, so reading it here takes nothing that is still to come.
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override
    {
        const QString scheme = request.url().scheme();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            return QNetworkAccessManager::createRequest(operation, request, outgoingData);
        const QByteArray body = outgoingData != nullptr ? outgoingData->readAll() : QByteArray();
        return new ZkHttpReply(methodOf(operation, request), request, body, this);
    }

private:
    static QByteArray methodOf(Operation operation, const QNetworkRequest &request)
    {
        switch (operation) {
        case HeadOperation:
            return "HEAD";
        case PutOperation:
            return "PUT";
        case PostOperation:
            return "POST";
        case DeleteOperation:
            return "DELETE";
        case CustomOperation:
            return request.attribute(QNetworkRequest::CustomVerbAttribute).toByteArray();
        default:
            return "GET";
        }
    }
};

void markLimit(QNetworkReply *reply, GuardedLimit limit)
{
    if (!reply->isFinished())
        reply->setProperty(LimitProperty, int(limit));
}

// setTransferTimeout only measures silence; a server that trickles a byte
// now and then would beat it, so the whole request gets a deadline.
void abortAfter(QNetworkReply *reply, int timeoutMs)
{
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply] {
        markLimit(reply, GuardedLimit::Deadline);
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(timeoutMs);
}

// Stops as soon as the declared or the received size passes the cap. A
// guarded reply reports the body at least every 64 KiB and waits until it
// has, so this runs before much more is read.
void abortPast(QNetworkReply *reply, qint64 maxBytes)
{
    const auto check = [reply, maxBytes](qint64 received, qint64 total) {
        if (received > maxBytes || total > maxBytes) {
            markLimit(reply, GuardedLimit::Size);
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, check] {
        check(0, reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, check);
}

} // namespace

const char LimitProperty[] = "zkGuardedLimit";

QNetworkAccessManager *newGuardedManager(QObject *parent)
{
    return new GuardedManager(parent);
}

QNetworkReply *guardedGet(QNetworkAccessManager *manager, const QUrl &url, int timeoutMs,
                          qint64 maxBytes)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    return guardedSend(manager, "GET", request, QByteArray(), timeoutMs, maxBytes);
}

QNetworkReply *guardedSend(QNetworkAccessManager *manager, const QByteArray &method,
                           QNetworkRequest request, const QByteArray &body, int timeoutMs,
                           qint64 maxBytes)
{
    // Naming an encoding ourselves also turns off the network layer's
    // automatic inflating, so a compressed bomb stays the size it was sent.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(ZkHttpReply::DeadlineAttribute, timeoutMs);
    QNetworkReply *reply =
        method == "GET" ? manager->get(request) : manager->sendCustomRequest(request, method, body);
    abortAfter(reply, timeoutMs);
    abortPast(reply, maxBytes);
    return reply;
}

GuardedLimit guardedLimit(const QNetworkReply *reply)
{
    return GuardedLimit(reply->property(LimitProperty).toInt());
}

bool takeGuardedBody(QNetworkReply *reply, qint64 maxBytes, QByteArray *body)
{
    if (reply->error() != QNetworkReply::NoError || reply->bytesAvailable() > maxBytes)
        return false;
    *body = reply->readAll();
    return true;
}

} // namespace zk
