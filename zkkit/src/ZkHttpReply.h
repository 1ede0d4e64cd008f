#ifndef ZKHTTPREPLY_H
#define ZKHTTPREPLY_H

// Private to the library. An HTTP or HTTPS request (any method, with a body
// of its own if it has one) that libcurl carries out instead of Qt's HTTP
// thread. That thread reads the head of a reply byte by
// byte for as long as bytes keep coming: a server that never ends its head
// holds the thread, and with it every later request of the manager, for as
// long as it likes, and the head grows in memory without end.
//
// libcurl refuses a head beyond its own limit, decodes chunks, checks
// certificates and never inflates a body it was not asked to. Each reply has
// a curl multi handle of its own, driven by socket notifiers and a timer on
// the reply's thread: no thread of ours, no locks, and abort() or the
// destructor ends the transfer and closes its connection on the spot, so a
// hostile request takes nothing from the next. (A worker thread per request
// around curl_easy_perform would need a bounded hand-over buffer, an abort
// flag that curl only looks at now and then, and threads that may outlive
// their reply.)
//
// The body is appended to the reply and announced (readyRead,
// downloadProgress) after every 64 KiB at most; the transfer pauses until it
// was announced, so an owner that checks the size there stops an endless body
// within that much of its cap, however fast the server sends. Redirects are
// followed as QNetworkRequest::NoLessSafeRedirectPolicy does, up to the
// request's maximum, http and https only; with any other policy the redirect
// is the reply.

#include <QElapsedTimer>
#include <QHash>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <curl/curl.h>

class QSocketNotifier;
class QTimer;

class ZkHttpReply : public QNetworkReply
{
    Q_OBJECT

public:
    // Milliseconds the whole request may take, redirects included. Without
    // it only the owner's own timer ends a request that drags on.
    static constexpr auto DeadlineAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);

    // method: "GET", "PUT", "PROPFIND", …; body: sent whole, with its length.
    ZkHttpReply(const QByteArray &method, const QNetworkRequest &request, const QByteArray &body,
                QObject *parent);
    ~ZkHttpReply() override;

    void abort() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    static size_t headerCallback(char *data, size_t size, size_t count, void *reply);
    static size_t bodyCallback(char *data, size_t size, size_t count, void *reply);
    static int socketCallback(CURL *, curl_socket_t socket, int what, void *reply, void *);
    static int timerCallback(CURLM *, long msec, void *reply);

    bool prepare();
    void configure();
    void configureMethod();
    void send();
    bool takeHeaderLine(const QByteArray &line);
    bool takeBody(const char *data, size_t size);
    QByteArray redirectLocation() const;
    void applyHead();
    void watch(curl_socket_t socket, int what);
    void drive(curl_socket_t socket, int events);
    void settle();
    void ended(CURLcode result);
    void follow();
    void fail(NetworkError code, const QString &text);
    void finish();
    void release();

    CURLM *m_multi = nullptr;        // owned, with the transfer and its connection
    CURL *m_easy = nullptr;          // owned
    curl_slist *m_headers = nullptr; // owned, the request's fields
    QByteArray m_method;
    QByteArray m_upload;                               // the request's body
    QTimer *m_timer;                                   // child, curl's next timeout
    QHash<curl_socket_t, QSocketNotifier *> m_readers; // children
    QHash<curl_socket_t, QSocketNotifier *> m_writers; // children
    char m_errorText[CURL_ERROR_SIZE] = {};
    QElapsedTimer m_clock;
    qint64 m_deadline = -1; // ms from the start, -1 for none

    QList<QByteArray> m_headLines; // of the response being read
    int m_status = 0;
    QByteArray m_reason;
    bool m_headTaken = false; // the reply's own head, not an interim one
    bool m_headNews = false;  // taken, not announced yet
    QByteArray m_location;    // a redirect to follow once the transfer stopped
    int m_redirects = 0;      // followed so far

    QByteArray m_body;     // received, not read by the owner yet
    qint64 m_received = 0; // body bytes so far
    qint64 m_total = -1;   // declared body length, -1 if none
    qint64 m_fresh = 0;    // body bytes not announced yet
    bool m_paused = false; // until they are
};

#endif // ZKHTTPREPLY_H
