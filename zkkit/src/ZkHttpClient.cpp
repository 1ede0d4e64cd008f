#include "ZkHttpClient.h"

#include "ZkGuardedGet.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace
{

ZkHttpResponse::Failure failureOf(const QNetworkReply *reply)
{
    switch (zk::guardedLimit(reply)) {
    case zk::GuardedLimit::Deadline:
        return ZkHttpResponse::Deadline;
    case zk::GuardedLimit::Size:
        return ZkHttpResponse::TooLarge;
    case zk::GuardedLimit::None:
        break;
    }
    switch (reply->error()) {
    case QNetworkReply::TimeoutError:
        return ZkHttpResponse::Deadline;
    case QNetworkReply::SslHandshakeFailedError:
        return ZkHttpResponse::Secure;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
        return ZkHttpResponse::Unreachable;
    default:
        return ZkHttpResponse::Other;
    }
}

} // namespace

QByteArray ZkHttpResponse::header(const QByteArray &name) const
{
    for (const auto &field : headers) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0)
            return field.second;
    }
    return {};
}

ZkHttpClient::ZkHttpClient(QObject *parent)
    : QObject(parent), m_manager(zk::newGuardedManager(this))
{
}

ZkHttpClient::~ZkHttpClient()
{
    abortAll();
}

void ZkHttpClient::send(const ZkHttpRequest &request, Done done)
{
    QNetworkRequest asked(request.url);
    for (const auto &field : request.headers)
        asked.setRawHeader(field.first, field.second);
    asked.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = zk::guardedSend(m_manager, request.method, asked, request.body,
                                           request.timeoutMs, request.maxBytes);
    m_replies.append(reply);
    const qint64 maxBytes = request.maxBytes;
    connect(reply, &QNetworkReply::finished, this, [this, reply, maxBytes, done] {
        m_replies.removeOne(reply);
        reply->deleteLater();
        if (reply->bytesAvailable() > maxBytes)
            reply->setProperty(zk::LimitProperty, int(zk::GuardedLimit::Size));
        finished(reply, done);
    });
}

// A status is an answer, whatever error the network layer made of it;
// only a request without one, or one cut off by a bound, failed.
void ZkHttpClient::finished(QNetworkReply *reply, const Done &done)
{
    ZkHttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool limited = zk::guardedLimit(reply) != zk::GuardedLimit::None;
    response.failure = response.status > 0 && !limited ? ZkHttpResponse::None : failureOf(reply);
    response.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    for (const auto &field : reply->rawHeaderPairs())
        response.headers.append(field);
    if (response.answered())
        response.body = reply->readAll();
    response.errorText = response.answered() ? QString::number(response.status) + QLatin1Char(' ') +
                                                   QString::fromUtf8(response.reason)
                                             : reply->errorString();
    done(response);
}

void ZkHttpClient::abortAll()
{
    const QList<QNetworkReply *> replies = std::exchange(m_replies, {});
    for (QNetworkReply *reply : replies) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}
