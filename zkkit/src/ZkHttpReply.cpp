#include "ZkHttpReply.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>

namespace
{

constexpr int MaxHeadBytes = 64 * 1024;
constexpr int MaxChunkLineBytes = 1024;
constexpr qint64 SocketBufferBytes = 64 * 1024;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isHttp(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// The errors Qt's own HTTP replies give for these statuses.
QNetworkReply::NetworkError statusError(int status)
{
    switch (status) {
    case 401:
        return QNetworkReply::AuthenticationRequiredError;
    case 403:
        return QNetworkReply::ContentAccessDenied;
    case 404:
        return QNetworkReply::ContentNotFoundError;
    case 405:
        return QNetworkReply::ContentOperationNotPermittedError;
    case 407:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409:
        return QNetworkReply::ContentConflictError;
    case 410:
        return QNetworkReply::ContentGoneError;
    case 500:
        return QNetworkReply::InternalServerError;
    case 501:
        return QNetworkReply::OperationNotImplementedError;
    case 503:
        return QNetworkReply::ServiceUnavailableError;
    default:
        if (status >= 500)
            return QNetworkReply::UnknownServerError;
        return status >= 400 ? QNetworkReply::UnknownContentError : QNetworkReply::NoError;
    }
}

QNetworkReply::NetworkError networkError(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::HostNotFoundError:
        return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::SocketTimeoutError:
        return QNetworkReply::TimeoutError;
    case QAbstractSocket::SslHandshakeFailedError:
        return QNetworkReply::SslHandshakeFailedError;
    case QAbstractSocket::RemoteHostClosedError:
        return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
        return QNetworkReply::UnknownProxyError;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

// Where the blank line that ends a head stops, or -1. Servers end lines
// with CR LF or a bare LF; blank lines before the status line are skipped.
int headLength(const QByteArray &data)
{
    bool seenLine = false;
    for (int start = 0, end; (end = data.indexOf('\n', start)) >= 0; start = end + 1) {
        const bool blank = end == start || (end == start + 1 && data.at(start) == '\r');
        if (blank && seenLine)
            return end + 1;
        seenLine = seenLine || !blank;
    }
    return -1;
}

} // namespace

ZkHttpReply::ZkHttpReply(const QNetworkRequest &request, QObject *parent) : QNetworkReply(parent)
{
    setRequest(request);
    setUrl(request.url());
    setOperation(QNetworkAccessManager::GetOperation);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    // A connection that fails at once would report before the manager has
    // hooked up to this reply.
    QMetaObject::invokeMethod(
        this, [this] { connectTo(url()); }, Qt::QueuedConnection);
}

void ZkHttpReply::abort()
{
    fail(OperationCanceledError, QStringLiteral("Operation canceled"));
}

qint64 ZkHttpReply::bytesAvailable() const
{
    return m_body.size() + QNetworkReply::bytesAvailable();
}

qint64 ZkHttpReply::readData(char *data, qint64 maxSize)
{
    const qint64 count = qMin<qint64>(maxSize, m_body.size());
    memcpy(data, m_body.constData(), size_t(count));
    m_body.remove(0, int(count));
    return count;
}

void ZkHttpReply::connectTo(const QUrl &url)
{
    if (isFinished())
        return;
    if (!isHttp(url) || url.host().isEmpty())
        return fail(ProtocolUnknownError,
                    QStringLiteral("Protocol \"%1\" is unknown").arg(url.scheme()));
    const bool secure = url.scheme() == QLatin1String("https");
#ifdef QT_NO_SSL
    if (secure)
        return fail(ProtocolUnknownError,
                    QStringLiteral("Protocol \"%1\" is unknown").arg(url.scheme()));
    m_socket = new QTcpSocket(this);
#else
    m_socket = secure ? new QSslSocket(this) : new QTcpSocket(this);
#endif
    m_socket->setReadBufferSize(SocketBufferBytes);
    connect(m_socket, &QAbstractSocket::readyRead, this, &ZkHttpReply::receive);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &ZkHttpReply::socketError);
    connect(m_socket, &QAbstractSocket::disconnected, this, &ZkHttpReply::socketError);
    const quint16 port = quint16(url.port(secure ? 443 : 80));
#ifndef QT_NO_SSL
    if (auto *ssl = qobject_cast<QSslSocket *>(m_socket)) {
        // Certificate errors are not ignored: the handshake fails on them.
        connect(ssl, &QSslSocket::encrypted, this, &ZkHttpReply::sendRequest);
        ssl->connectToHostEncrypted(url.host(), port);
        return;
    }
#endif
    connect(m_socket, &QAbstractSocket::connected, this, &ZkHttpReply::sendRequest);
    m_socket->connectToHost(url.host(), port);
}

void ZkHttpReply::sendRequest()
{
    const QUrl target = url();
    QByteArray path = target.path(QUrl::FullyEncoded).toLatin1();
    if (path.isEmpty())
        path = "/";
    if (target.hasQuery())
        path += '?' + target.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = target.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const bool secure = target.scheme() == QLatin1String("https");
    if (target.port() != -1 && target.port() != (secure ? 443 : 80))
        host += ':' + QByteArray::number(target.port());

    QByteArray head = "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\n";
    const QNetworkRequest &asked = request();
    for (const QByteArray &name : asked.rawHeaderList()) {
        const QByteArray lower = name.toLower();
        if (lower != "host" && lower != "connection")
            head += name + ": " + asked.rawHeader(name) + "\r\n";
    }
    if (!asked.hasRawHeader("User-Agent"))
        head += "User-Agent: Mozilla/5.0\r\n";
    if (!asked.hasRawHeader("Accept-Encoding"))
        head += "Accept-Encoding: identity\r\n";
    m_socket->write(head + "Connection: close\r\n\r\n");
}

// Parses whatever has arrived, one step at a time; each step returns false
// when it needs more bytes. Signals sent on the way may finish the reply
// (an owner that aborts it), which ends the parsing.
void ZkHttpReply::receive()
{
    if (isFinished() || m_socket == nullptr)
        return;
    m_pending += m_socket->readAll();
    for (bool more = true; more && !isFinished();) {
        switch (m_stage) {
        case Stage::Head:
            more = takeHead();
            break;
        case Stage::Body:
        case Stage::ChunkData:
            more = takeBodyBytes();
            break;
        case Stage::ChunkLine:
            more = takeChunkLine();
            break;
        case Stage::ChunkEnd:
            more = takeChunkEnd();
            break;
        case Stage::Trailer:
            more = takeTrailer();
            break;
        }
    }
}

bool ZkHttpReply::takeHead()
{
    const int length = headLength(m_pending);
    if (length < 0 || length > MaxHeadBytes) {
        if (length > MaxHeadBytes || m_pending.size() > MaxHeadBytes)
            fail(ProtocolFailure, QStringLiteral("The reply head is too long"));
        return false;
    }
    QList<QByteArray> lines = m_pending.left(length).trimmed().split('\n');
    m_pending.remove(0, length);
    const QList<QByteArray> statusLine = lines.takeFirst().trimmed().split(' ');
    bool ok = false;
    const int status = statusLine.value(1).toInt(&ok);
    if (!statusLine.first().startsWith("HTTP/") || !ok || status < 100 || status > 999) {
        fail(ProtocolFailure, QStringLiteral("The reply is not HTTP"));
        return false;
    }
    if (status < 200 && status != 101)
        return true; // an interim reply; the real one follows
    for (const QByteArray &name : rawHeaderList())
        setRawHeader(name, QByteArray()); // of a reply that redirected here
    for (const QByteArray &line : qAsConst(lines)) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            setRawHeader(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, status);
    setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, statusLine.mid(2).join(' ').trimmed());
    if (redirect(status))
        return false;
    emit metaDataChanged();
    if (!isFinished())
        startBody(status);
    return true;
}

void ZkHttpReply::startBody(int status)
{
    m_statusError = statusError(status);
    if (status < 200 || status == 204 || status == 304)
        return finish();
    if (rawHeader("Transfer-Encoding").toLower().trimmed().endsWith("chunked")) {
        m_stage = Stage::ChunkLine;
        return;
    }
    m_stage = Stage::Body;
    if (!hasRawHeader("Content-Length"))
        return; // the body runs until the server closes the connection
    bool ok = false;
    m_total = m_left = rawHeader("Content-Length").toLongLong(&ok);
    if (!ok || m_total < 0)
        return fail(ProtocolFailure, QStringLiteral("The reply declares no valid length"));
    if (m_left == 0)
        finish();
}

bool ZkHttpReply::takeBodyBytes()
{
    const qint64 count = m_left < 0 ? m_pending.size() : qMin<qint64>(m_left, m_pending.size());
    if (count > 0) {
        m_body += m_pending.left(int(count));
        m_pending.remove(0, int(count));
        m_received += count;
        if (m_left > 0)
            m_left -= count;
        emit readyRead();
        emit downloadProgress(m_received, m_total);
    }
    // More to come, or the owner has had enough.
    if (m_left != 0 || isFinished())
        return false;
    if (m_stage == Stage::Body) {
        finish();
        return false;
    }
    m_stage = Stage::ChunkEnd;
    return true;
}

bool ZkHttpReply::takeChunkLine()
{
    const int end = m_pending.indexOf('\n');
    if (end < 0 || end > MaxChunkLineBytes) {
        if (end > MaxChunkLineBytes || m_pending.size() > MaxChunkLineBytes)
            fail(ProtocolFailure, QStringLiteral("The reply has a broken chunk"));
        return false;
    }
    const QByteArray line = m_pending.left(end).split(';').first().trimmed();
    m_pending.remove(0, end + 1);
    bool ok = false;
    m_left = line.toLongLong(&ok, 16);
    if (!ok || m_left < 0) {
        fail(ProtocolFailure, QStringLiteral("The reply has a broken chunk"));
        return false;
    }
    m_stage = m_left == 0 ? Stage::Trailer : Stage::ChunkData;
    return true;
}

bool ZkHttpReply::takeChunkEnd()
{
    const int skip = m_pending.startsWith("\r\n") ? 2 : m_pending.startsWith('\n') ? 1 : 0;
    if (skip == 0) {
        if (m_pending.size() >= 2)
            fail(ProtocolFailure, QStringLiteral("The reply has a broken chunk"));
        return false;
    }
    m_pending.remove(0, skip);
    m_stage = Stage::ChunkLine;
    return true;
}

// Trailer fields are read past; an endless stream of them only runs into
// the owner's deadline, each one dropped as it comes.
bool ZkHttpReply::takeTrailer()
{
    const int end = m_pending.indexOf('\n');
    if (end < 0 || end > MaxHeadBytes) {
        if (end > MaxHeadBytes || m_pending.size() > MaxHeadBytes)
            fail(ProtocolFailure, QStringLiteral("The reply head is too long"));
        return false;
    }
    const bool blank = m_pending.left(end).trimmed().isEmpty();
    m_pending.remove(0, end + 1);
    if (blank)
        finish();
    return !blank;
}

// True when the reply went elsewhere or ended; false when this response
// is the reply.
bool ZkHttpReply::redirect(int status)
{
    const QVariant policy = request().attribute(QNetworkRequest::RedirectPolicyAttribute);
    const QByteArray location = rawHeader("Location");
    if (!isRedirect(status) || location.isEmpty() || !policy.isValid() ||
        policy.toInt() == QNetworkRequest::ManualRedirectPolicy) {
        return false;
    }
    const QUrl target = url().resolved(QUrl(QString::fromUtf8(location), QUrl::TolerantMode));
    if (m_redirects >= request().maximumRedirectsAllowed()) {
        fail(TooManyRedirectsError, QStringLiteral("Too many redirects"));
    } else if (!isHttp(target)) {
        fail(ProtocolUnknownError,
             QStringLiteral("Protocol \"%1\" is unknown").arg(target.scheme()));
    } else if (url().scheme() == QLatin1String("https") &&
               target.scheme() == QLatin1String("http")) {
        fail(InsecureRedirectError, QStringLiteral("Insecure redirect"));
    } else {
        ++m_redirects;
        dropSocket();
        m_pending.clear();
        m_stage = Stage::Head;
        setUrl(target);
        emit redirected(target);
        connectTo(target);
    }
    return true;
}

void ZkHttpReply::socketError()
{
    if (isFinished() || m_socket == nullptr)
        return;
    receive(); // what came before the end still counts
    if (isFinished())
        return;
    const QAbstractSocket::SocketError error = m_socket->error();
    const bool closed = error == QAbstractSocket::RemoteHostClosedError ||
                        m_socket->state() == QAbstractSocket::UnconnectedState;
    if (closed && m_stage == Stage::Body && m_left < 0)
        return finish();
    if (error == QAbstractSocket::UnknownSocketError && !closed)
        return;
    fail(closed && error == QAbstractSocket::UnknownSocketError ? RemoteHostClosedError
                                                                : networkError(error),
         m_socket->errorString());
}

void ZkHttpReply::fail(NetworkError code, const QString &text)
{
    if (isFinished())
        return;
    m_statusError = NoError;
    dropSocket();
    setError(code, text);
    setFinished(true);
    emit errorOccurred(code);
    emit finished();
}

void ZkHttpReply::finish()
{
    if (isFinished())
        return;
    dropSocket();
    setFinished(true);
    if (m_statusError != NoError) {
        setError(m_statusError, attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        emit errorOccurred(m_statusError);
    }
    emit finished();
}

void ZkHttpReply::dropSocket()
{
    if (m_socket == nullptr)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}
