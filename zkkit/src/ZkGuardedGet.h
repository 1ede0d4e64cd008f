#ifndef ZKGUARDEDGET_H
#define ZKGUARDEDGET_H

// Private to the library. The update check and the advertisement rotator
// talk to a server outside the program; these two functions keep a slow,
// broken or hostile server from freezing the program or exhausting its
// memory. A reply cut off by a limit ends like any other failed request.

#include <QtGlobal>

class QByteArray;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QObject;
class QUrl;

namespace zk
{

// A manager whose HTTP and HTTPS requests, of every method, are bounded
// replies that libcurl carries out (ZkHttpReply); other schemes go to Qt as
// usual.
QNetworkAccessManager *newGuardedManager(QObject *parent = nullptr);

// Why a guarded reply was aborted, as its LimitProperty tells; none when it
// ended by itself.
enum class GuardedLimit { None, Deadline, Size };
extern const char LimitProperty[];

// Sends request with method and body through a guarded manager, asking for
// the body as it is stored, and aborts the reply when it runs longer than
// timeoutMs in total or its body grows past maxBytes. Redirects are followed
// only as the request says.
QNetworkReply *guardedSend(QNetworkAccessManager *manager, const QByteArray &method,
                           QNetworkRequest request, const QByteArray &body, int timeoutMs,
                           qint64 maxBytes);
GuardedLimit guardedLimit(const QNetworkReply *reply);

// Sends a GET for url that asks for the body as it is stored (no compressed
// transfer the network layer would inflate), follows at most five redirects
// that keep or raise the security, and aborts the reply when it runs longer
// than timeoutMs in total or its body grows past maxBytes. Through a guarded
// manager the size is checked as the body arrives, so the memory it takes
// stays within maxBytes and some 100 KiB.
QNetworkReply *guardedGet(QNetworkAccessManager *manager, const QUrl &url, int timeoutMs,
                          qint64 maxBytes);

// The body of a finished reply, or false when the reply failed, was aborted
// or carries more than maxBytes: a small body may arrive in one piece, past
// every progress check.
bool takeGuardedBody(QNetworkReply *reply, qint64 maxBytes, QByteArray *body);

} // namespace zk

#endif // ZKGUARDEDGET_H
