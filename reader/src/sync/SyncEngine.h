#ifndef SYNCENGINE_H
#define SYNCENGINE_H

#include "BookSync.h"
#include "SyncStatus.h"
#include "SyncTiming.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>

#include <memory>

class LocalBooks;
class QTimer;
class SyncState;
class WebDav;
struct ZkHttpResponse;

// Keeps the books of this machine in step with the server, in the
// background: one book at a time (BookSync), one request at a time, each
// bounded. A book is synced when it is opened or left, a few minutes after
// it changed while it is read, and on demand. A failure leaves every local change
// waiting and the next attempt planned: after the Retry-After a busy server
// asks for, else after a wait that doubles; a refused password waits for the
// user. Results come as values: the status, and positions that arrived.
class SyncEngine : public QObject
{
    Q_OBJECT

public:
    // The folder on the server below the account's address.
    static const QString FolderName;

    // state, books: the machine's stores, not owned; stateFile: where state
    // is saved.
    SyncEngine(SyncState *state, const QString &stateFile, LocalBooks *books,
               QObject *parent = nullptr);

    void setTiming(const SyncTiming &timing);
    // Takes the address and user from the state. The password is kept in
    // memory only.
    void setPassword(const QString &password);
    bool isConfigured() const;

    // fileName was opened: known by its fingerprint (made on the worker
    // pool), then synced at once.
    void bookOpened(const QString &fileName);
    // Syncs it at once if it has changes waiting.
    void bookLeft(const QString &fileName);
    // Something in the stores changed: books with changes are synced within
    // the batch interval.
    void localChanged();
    // Every known book changed here or on the server, at once, even after a
    // refused password; also when the account is set.
    void syncNow();
    // Every waiting change at once; flushed() when done or when it failed.
    void flush();
    // PROPFIND on address with that account; connectionTested() tells the
    // outcome: "连接成功" or the server's reason.
    void testConnection(const QUrl &address, const QString &user, const QString &password);

    SyncStatus status() const { return m_status; }
    int requestCount() const;
    bool isIdle() const;

signals:
    void statusChanged(const SyncStatus &status);
    void connectionTested(bool ok, const QString &text);
    // The position of a book on this machine changed to a merged one.
    void positionArrived(const QString &fileName, int from, int to);
    void flushed();
    void idle();

private:
    void fingerprinted(const QString &fileName, const QString &fingerprint);
    bool hasChanges(const QString &fingerprint) const;
    void schedule(const QString &fingerprint, qint64 due);
    void plan();
    void next();
    void start(const QString &fingerprint);
    void ended(const BookSync::Outcome &outcome);
    void listed(const ZkHttpResponse &response);
    void removeStrays(const QStringList &names);
    void failed(const QString &fingerprint, const ZkHttpResponse &response);
    void finishJob();
    void becameIdle();
    void report(SyncStatus::Outcome outcome, const QString &detail, int retryMs);
    int waitingBooks() const;
    int retryAfterMs(const ZkHttpResponse &response) const;
    QString reasonOf(const ZkHttpResponse &response) const;
    qint64 now() const { return m_clock.elapsed(); }

    SyncState *m_state;
    QString m_stateFile;
    LocalBooks *m_books;
    WebDav *m_dav;  // child
    QTimer *m_wake; // child: the next book that is due, or the end of a wait
    QElapsedTimer m_clock;
    SyncTiming m_timing;

    QMap<QString, qint64> m_due;       // fingerprint → when, on m_clock
    QMap<QString, qint64> m_lastSync;  // fingerprint → when it last began
    std::unique_ptr<BookSync> m_job;   // the book under way
    std::unique_ptr<BookSync> m_ended; // until its last step has returned
    qint64 m_pausedUntil = 0;
    int m_failures = 0; // in a row
    bool m_waitForUser = false;
    bool m_flushing = false;
    int m_fingerprinting = 0; // files on the worker pool
    int m_listings = 0;       // of the server, under way
    SyncStatus m_status;
};

#endif // SYNCENGINE_H
