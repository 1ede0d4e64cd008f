#include "ZkGuardedGet.h"

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

// Stops as soon as the declared or the received size passes the cap, so
// an endless body is never buffered. (A read-buffer limit would stop the
// body earlier, but then the network layer stalls without reporting any
// progress, so only the deadline would end the request.)
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
