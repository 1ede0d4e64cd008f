#include "ZkHttpReply.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <climits>
#include <utility>

namespace
{

// Body bytes taken before the transfer waits for the owner to hear of them.
constexpr qint64 AnnounceBytes = 64 * 1024;

// Once per process, whichever thread comes first; libcurl's own set-up is not
// safe to run twice at the same time in every build. Undone when the library
// is unloaded, after every reply of a well-behaved program is gone.
void initCurl()
{
    struct Library {
        Library() { curl_global_init(CURL_GLOBAL_DEFAULT); }
        ~Library() { curl_global_cleanup(); }
    };
    static Library library;
}

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

// The errors Qt's own replies give for the same failures.
QNetworkReply::NetworkError networkError(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_CONNECT:
        return QNetworkReply::ConnectionRefusedError;
    case CURLE_COULDNT_RESOLVE_HOST:
        return QNetworkReply::HostNotFoundError;
    case CURLE_OPERATION_TIMEDOUT:
        return QNetworkReply::TimeoutError;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return QNetworkReply::SslHandshakeFailedError;
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SEND_ERROR:
        return QNetworkReply::RemoteHostClosedError;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_RECV_ERROR: // also a head beyond curl's limit
    case CURLE_BAD_CONTENT_ENCODING:
        return QNetworkReply::ProtocolFailure;
    case CURLE_URL_MALFORMAT:
        return QNetworkReply::ProtocolUnknownError;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

QNetworkAccessManager::Operation operationOf(const QByteArray &method)
{
    if (method == "GET")
        return QNetworkAccessManager::GetOperation;
    if (method == "HEAD")
        return QNetworkAccessManager::HeadOperation;
    if (method == "PUT")
        return QNetworkAccessManager::PutOperation;
    if (method == "POST")
        return QNetworkAccessManager::PostOperation;
    if (method == "DELETE")
        return QNetworkAccessManager::DeleteOperation;
    return QNetworkAccessManager::CustomOperation;
}

} // namespace

ZkHttpReply::ZkHttpReply(const QByteArray &method, const QNetworkRequest &request,
                         const QByteArray &body, QObject *parent)
    : QNetworkReply(parent), m_method(method), m_upload(body), m_timer(new QTimer(this))
{
    initCurl();
    m_clock.start();
    setRequest(request);
    setUrl(request.url());
    setOperation(operationOf(method));
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const QVariant deadline = request.attribute(DeadlineAttribute);
    if (deadline.isValid())
        m_deadline = deadline.toLongLong();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { drive(CURL_SOCKET_TIMEOUT, 0); });
    // A request that fails at once would report before the manager has
    // hooked up to this reply.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (prepare())
                send();
        },
        Qt::QueuedConnection);
}

ZkHttpReply::~ZkHttpReply()
{
    release();
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

// The handles and their callbacks, kept for every hop of the request.
bool ZkHttpReply::prepare()
{
    if (isFinished())
        return false;
    m_multi = curl_multi_init();
    m_easy = curl_easy_init();
    if (m_multi == nullptr || m_easy == nullptr) {
        fail(UnknownNetworkError, QStringLiteral("Out of memory"));
        return false;
    }
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &ZkHttpReply::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &ZkHttpReply::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorText);
    curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &ZkHttpReply::headerCallback);
    curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &ZkHttpReply::bodyCallback);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    configure();
    return true;
}

void ZkHttpReply::configure()
{
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_PROXY, ""); // like Qt's default: no proxy
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(m_easy, CURLOPT_HTTP_CONTENT_DECODING, 0L); // identity only

    const QNetworkRequest &asked = request();
    for (const QByteArray &name : asked.rawHeaderList()) {
        const QByteArray lower = name.toLower();
        if (lower != "host" && lower != "connection")
            m_headers =
                curl_slist_append(m_headers, (name + ": " + asked.rawHeader(name)).constData());
    }
    if (!asked.hasRawHeader("Accept-Encoding"))
        m_headers = curl_slist_append(m_headers, "Accept-Encoding: identity");
    configureMethod();
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, "Mozilla/5.0"); // a field of the request wins
}

// A body goes as curl's copy of it, whole and with its length, so that the
// request owns nothing the caller could free meanwhile. Without a type of the
// caller's own, curl would call it a form.
void ZkHttpReply::configureMethod()
{
    if (m_method == "HEAD") {
        curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (m_method != "GET")
        curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, m_method.constData());
    if (m_upload.isEmpty() && m_method != "PUT" && m_method != "POST")
        return;
    curl_easy_setopt(m_easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(m_upload.size()));
    curl_easy_setopt(m_easy, CURLOPT_COPYPOSTFIELDS, m_upload.constData());
    // No waiting for a "100 Continue" that some servers never send.
    m_headers = curl_slist_append(m_headers, "Expect:");
    if (!request().hasRawHeader("Content-Type"))
        m_headers = curl_slist_append(m_headers, "Content-Type: application/octet-stream");
}

// One hop: the first request or a redirect.
void ZkHttpReply::send()
{
    if (!isHttp(url()) || url().host().isEmpty())
        return fail(ProtocolUnknownError,
                    QStringLiteral("Protocol \"%1\" is unknown").arg(url().scheme()));
    if (m_deadline >= 0) {
        const long left = long(m_deadline - m_clock.elapsed());
        if (left <= 0)
            return fail(TimeoutError, QStringLiteral("Operation timed out"));
        curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, left);
        curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, left);
    }
    curl_easy_setopt(m_easy, CURLOPT_URL, url().toEncoded().constData());
    m_headLines.clear();
    m_status = 0;
    m_headTaken = false;
    m_errorText[0] = '\0';
    curl_multi_add_handle(m_multi, m_easy);
}

// The callbacks run inside curl; what they take is announced by settle()
// once curl has returned, since an owner may abort the reply on hearing it.
size_t ZkHttpReply::headerCallback(char *data, size_t size, size_t count, void *reply)
{
    const QByteArray line(data, int(size * count));
    return static_cast<ZkHttpReply *>(reply)->takeHeaderLine(line) ? size * count : 0;
}

size_t ZkHttpReply::bodyCallback(char *data, size_t size, size_t count, void *reply)
{
    return static_cast<ZkHttpReply *>(reply)->takeBody(data, size * count) ? size * count
                                                                           : CURL_WRITEFUNC_PAUSE;
}

int ZkHttpReply::socketCallback(CURL *, curl_socket_t socket, int what, void *reply, void *)
{
    static_cast<ZkHttpReply *>(reply)->watch(socket, what);
    return 0;
}

int ZkHttpReply::timerCallback(CURLM *, long msec, void *reply)
{
    QTimer *timer = static_cast<ZkHttpReply *>(reply)->m_timer;
    if (msec < 0)
        timer->stop();
    else
        timer->start(int(qMin<long>(msec, INT_MAX))); // curl must not be called from in here
    return 0;
}

// False stops the transfer: a redirect is followed with a new one. Lines after
// the reply's head are trailers of a chunked body and are not kept.
bool ZkHttpReply::takeHeaderLine(const QByteArray &line)
{
    if (m_headTaken)
        return true;
    const QByteArray trimmed = line.trimmed();
    if (line.startsWith("HTTP/")) {
        const QList<QByteArray> parts = trimmed.split(' ');
        m_status = parts.value(1).toInt();
        m_reason = parts.mid(2).join(' ');
        m_headLines.clear();
    } else if (!trimmed.isEmpty()) {
        m_headLines.append(trimmed);
    } else if (m_status >= 200) { // else an interim reply; the real one follows
        m_headTaken = true;
        m_location = redirectLocation();
        if (!m_location.isEmpty())
            return false;
        applyHead();
    }
    return true;
}

// Where this head sends the request, when it is a redirect to follow.
QByteArray ZkHttpReply::redirectLocation() const
{
    const QVariant policy = request().attribute(QNetworkRequest::RedirectPolicyAttribute);
    if (!isRedirect(m_status) || !policy.isValid() ||
        policy.toInt() != QNetworkRequest::NoLessSafeRedirectPolicy)
        return {};
    for (const QByteArray &line : m_headLines) {
        const int colon = line.indexOf(':');
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (colon > 0 && line.left(colon).trimmed().toLower() == "location")
            return value;
    }
    return {};
}

void ZkHttpReply::applyHead()
{
    for (const QByteArray &line : qAsConst(m_headLines)) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            setRawHeader(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, m_status);
    setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, QString::fromLatin1(m_reason));
    bool ok = false;
    const qint64 length = rawHeader("Content-Length").toLongLong(&ok);
    m_total = ok && length >= 0 ? length : -1;
    m_headNews = true;
}

// False holds the piece back and pauses the transfer until settle() has
// announced what came before it.
bool ZkHttpReply::takeBody(const char *data, size_t size)
{
    if (m_fresh >= AnnounceBytes) {
        m_paused = true;
        return false;
    }
    m_body.append(data, int(size));
    m_received += qint64(size);
    m_fresh += qint64(size);
    return true;
}

// A notifier lives as long as curl uses its socket and is switched on and off
// as curl asks.
void ZkHttpReply::watch(curl_socket_t socket, int what)
{
    const auto update = [this, socket, what](QHash<curl_socket_t, QSocketNotifier *> &notifiers,
                                             QSocketNotifier::Type type, bool on) {
        QSocketNotifier *notifier = notifiers.value(socket);
        if (what == CURL_POLL_REMOVE) {
            if (notifier != nullptr) {
                notifiers.remove(socket);
                notifier->setEnabled(false);
                notifier->deleteLater(); // it may be the one that is calling
            }
            return;
        }
        if (notifier == nullptr && on) {
            notifier = new QSocketNotifier(socket, type, this);
            const int events = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            connect(notifier, &QSocketNotifier::activated, this,
                    [this, socket, events] { drive(socket, events); });
            notifiers.insert(socket, notifier);
        }
        if (notifier != nullptr)
            notifier->setEnabled(on);
    };
    update(m_readers, QSocketNotifier::Read, what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    update(m_writers, QSocketNotifier::Write, what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
}

void ZkHttpReply::drive(curl_socket_t socket, int events)
{
    if (m_multi == nullptr)
        return;
    int running = 0;
    curl_multi_socket_action(m_multi, socket, events, &running);
    settle();
}

// Tells the owner what the callbacks took, lets a paused transfer go on, and
// ends the reply when curl is done. Each signal may have aborted the reply.
void ZkHttpReply::settle()
{
    if (std::exchange(m_headNews, false)) {
        emit metaDataChanged();
        if (isFinished())
            return;
    }
    while (m_fresh > 0) {
        m_fresh = 0;
        emit readyRead();
        if (isFinished())
            return;
        emit downloadProgress(m_received, m_total);
        if (isFinished())
            return;
        if (std::exchange(m_paused, false))
            curl_easy_pause(m_easy, CURLPAUSE_CONT); // hands the held piece over at once
    }
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            return ended(message->data.result);
    }
}

void ZkHttpReply::ended(CURLcode result)
{
    curl_multi_remove_handle(m_multi, m_easy);
    if (!m_location.isEmpty())
        return follow();
    if (result == CURLE_OK)
        return finish();
    fail(networkError(result),
         QString::fromUtf8(m_errorText[0] != '\0' ? m_errorText : curl_easy_strerror(result)));
}

void ZkHttpReply::follow()
{
    const QUrl target =
        url().resolved(QUrl(QString::fromUtf8(std::exchange(m_location, {})), QUrl::TolerantMode));
    if (m_redirects >= request().maximumRedirectsAllowed())
        return fail(TooManyRedirectsError, QStringLiteral("Too many redirects"));
    if (!target.isValid() || !isHttp(target))
        return fail(ProtocolUnknownError,
                    QStringLiteral("Protocol \"%1\" is unknown").arg(target.scheme()));
    if (url().scheme() == QLatin1String("https") && target.scheme() == QLatin1String("http"))
        return fail(InsecureRedirectError, QStringLiteral("Insecure redirect"));
    ++m_redirects;
    setUrl(target);
    emit redirected(target);
    if (!isFinished())
        send();
}

void ZkHttpReply::fail(NetworkError code, const QString &text)
{
    if (isFinished())
        return;
    release();
    setError(code, text);
    setFinished(true);
    emit errorOccurred(code);
    emit finished();
}

void ZkHttpReply::finish()
{
    if (isFinished())
        return;
    release();
    setFinished(true);
    const NetworkError error = statusError(m_status);
    if (error != NoError) {
        setError(error, QString::fromLatin1(m_reason));
        emit errorOccurred(error);
    }
    emit finished();
}

// Never called from inside curl: removing the transfer there is not allowed.
void ZkHttpReply::release()
{
    if (m_multi != nullptr) {
        curl_multi_remove_handle(m_multi, m_easy);
        curl_multi_cleanup(m_multi);
        m_multi = nullptr;
    }
    if (m_easy != nullptr) {
        curl_easy_cleanup(m_easy);
        m_easy = nullptr;
    }
    curl_slist_free_all(m_headers);
    m_headers = nullptr;
    m_timer->stop();
    for (QSocketNotifier *notifier : m_readers.values() + m_writers.values()) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    m_readers.clear();
    m_writers.clear();
}
