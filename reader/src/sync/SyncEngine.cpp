#include "SyncEngine.h"

#include "BookFingerprint.h"
#include "BookSync.h"
#include "LocalBooks.h"
#include "SyncState.h"
#include "WebDav.h"
#include "WorkerPool.h"
#include "ZkHttpClient.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QTimer>

#include <limits>
#include <utility>

namespace
{

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

const QString SyncEngine::FolderName = QStringLiteral("Quirelle/");

SyncEngine::SyncEngine(SyncState *state, const QString &stateFile, LocalBooks *books,
                       QObject *parent)
    : QObject(parent), m_state(state), m_stateFile(stateFile), m_books(books),
      m_dav(new WebDav(this)), m_wake(new QTimer(this))
{
    m_clock.start();
    m_wake->setSingleShot(true);
    connect(m_wake, &QTimer::timeout, this, &SyncEngine::next);
    m_status = state->lastOutcome;
}

void SyncEngine::setTiming(const SyncTiming &timing)
{
    m_timing = timing;
    m_dav->setDeadline(timing.requestDeadlineMs);
}

void SyncEngine::setPassword(const QString &password)
{
    QUrl address = m_state->address.adjusted(QUrl::RemoveUserInfo);
    if (!address.path().endsWith(QLatin1Char('/')))
        address.setPath(address.path() + QLatin1Char('/'));
    m_dav->setAccount(address.resolved(QUrl(FolderName)), m_state->user, password);
    m_waitForUser = false;
    m_pausedUntil = 0;
    m_failures = 0;
    syncNow();
}

bool SyncEngine::isConfigured() const
{
    const QString scheme = m_state->address.scheme();
    return m_state->address.isValid() && !m_state->address.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

int SyncEngine::requestCount() const
{
    return m_dav->requestCount();
}

bool SyncEngine::isIdle() const
{
    return m_job == nullptr && m_due.isEmpty() && m_fingerprinting == 0 && m_listings == 0;
}

// ---- what is due -------------------------------------------------------------

void SyncEngine::bookOpened(const QString &fileName)
{
    ++m_fingerprinting;
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, fileName] {
        watcher->deleteLater();
        --m_fingerprinting;
        fingerprinted(fileName, watcher->result());
    });
    watcher->setFuture(WorkerPool::run([fileName] { return BookFingerprint::of(fileName); }));
}

void SyncEngine::fingerprinted(const QString &fileName, const QString &fingerprint)
{
    if (fingerprint.isEmpty())
        return;
    if (m_state->setFile(fingerprint, fileName))
        m_state->save(m_stateFile);
    schedule(fingerprint, now());
}

void SyncEngine::bookLeft(const QString &fileName)
{
    const QString fingerprint = m_state->fingerprintOf(fileName);
    if (!fingerprint.isEmpty() && hasChanges(fingerprint))
        schedule(fingerprint, now());
}

void SyncEngine::localChanged()
{
    for (const QString &fingerprint : m_state->books()) {
        if (hasChanges(fingerprint))
            schedule(fingerprint,
                     m_lastSync.value(fingerprint, -m_timing.batchMs) + m_timing.batchMs);
    }
}

// One listing of the server tells which records changed since this machine
// last saw them; only those are fetched, with the books changed here.
void SyncEngine::syncNow()
{
    m_waitForUser = false;
    m_pausedUntil = 0;
    if (!isConfigured() || m_dav->folder().isEmpty())
        return;
    for (const QString &fingerprint : m_state->books()) {
        if (hasChanges(fingerprint))
            schedule(fingerprint, now());
    }
    ++m_listings;
    m_dav->find(QUrl(), 1, [this](const ZkHttpResponse &response) { listed(response); });
}

// Without a listing, every book is fetched.
void SyncEngine::listed(const ZkHttpResponse &response)
{
    --m_listings;
    const bool whole = response.answered() && response.status == 207;
    const QMap<QString, QByteArray> files =
        whole ? WebDav::listing(response.body) : QMap<QString, QByteArray>();
    for (const QString &fingerprint : m_state->books()) {
        const QString name = fingerprint + QStringLiteral(".xml");
        const bool agreed = !m_state->agreed(fingerprint).isEmpty();
        const bool changed = files.contains(name) ? files.value(name) != m_state->tagOf(fingerprint)
                                                  : agreed; // gone from the server
        if (!whole || changed)
            schedule(fingerprint, now());
    }
    removeStrays(files.keys());
    if (isIdle())
        becameIdle();
}

// Temporary files of this machine's uploads that were cut off; never the
// one under way.
void SyncEngine::removeStrays(const QStringList &names)
{
    for (const QString &name : names) {
        if (BookSync::isStrayOf(name, m_state->machine()) &&
            (m_job == nullptr || m_job->uploadName() != name))
            m_dav->remove(name, [](const ZkHttpResponse &) {});
    }
}

void SyncEngine::flush()
{
    for (const QString &fingerprint : m_state->books()) {
        if (hasChanges(fingerprint))
            schedule(fingerprint, now());
    }
    m_flushing = true;
    m_pausedUntil = 0;
    if (isIdle() || !isConfigured() || m_waitForUser)
        becameIdle();
}

bool SyncEngine::hasChanges(const QString &fingerprint) const
{
    const QString fileName = m_state->fileOf(fingerprint);
    return !fileName.isEmpty() &&
           m_books->record(fingerprint, fileName) != m_state->agreed(fingerprint);
}

// A book already due keeps the earlier time.
void SyncEngine::schedule(const QString &fingerprint, qint64 due)
{
    if (!isConfigured())
        return;
    const qint64 when = qMax(now(), due);
    if (!m_due.contains(fingerprint) || m_due.value(fingerprint) > when)
        m_due.insert(fingerprint, when);
    plan();
}

// Nothing goes out before the account is complete: the password may still
// be on its way from the keyring.
void SyncEngine::plan()
{
    if (m_job != nullptr || m_due.isEmpty() || m_waitForUser || m_dav->folder().isEmpty())
        return;
    qint64 first = std::numeric_limits<qint64>::max();
    for (const qint64 due : qAsConst(m_due))
        first = qMin(first, due);
    const qint64 when = qMax(first, m_pausedUntil);
    m_wake->start(int(qBound<qint64>(0, when - now(), std::numeric_limits<int>::max())));
}

void SyncEngine::next()
{
    if (m_job != nullptr || m_waitForUser || now() < m_pausedUntil || m_dav->folder().isEmpty())
        return plan();
    for (auto due = m_due.cbegin(); due != m_due.cend(); ++due) {
        if (due.value() <= now()) {
            const QString fingerprint = due.key();
            m_due.remove(fingerprint);
            return start(fingerprint);
        }
    }
    plan();
}

// ---- one book --------------------------------------------------------------------

void SyncEngine::start(const QString &fingerprint)
{
    m_lastSync.insert(fingerprint, now());
    m_job = std::make_unique<BookSync>(m_dav, m_state, m_stateFile, m_books, fingerprint,
                                       [this](const BookSync::Outcome &o) { ended(o); });
    m_job->start();
}

// The job is in the middle of its last step and goes once that is over.
void SyncEngine::ended(const BookSync::Outcome &outcome)
{
    const QString fingerprint = m_job->fingerprint();
    const QString fileName = m_job->fileName();
    m_ended = std::move(m_job);
    switch (outcome.kind) {
    case BookSync::Outcome::Failed:
        return failed(fingerprint, outcome.failure);
    case BookSync::Outcome::Newer:
        report(SyncStatus::Refused,
               QCoreApplication::translate("QObject", "服务器上的记录来自更新的版本"), 0);
        return finishJob();
    case BookSync::Outcome::Done:
        break;
    }
    m_failures = 0;
    finishJob();
    report(SyncStatus::Done, QString(), 0);
    m_books->save(outcome.changes);
    if (outcome.changes.positionMoved)
        emit positionArrived(fileName, outcome.changes.positionBefore, outcome.position);
}

void SyncEngine::failed(const QString &fingerprint, const ZkHttpResponse &response)
{
    finishJob();
    ++m_failures;
    int waitMs = qMin<qint64>(qint64(m_timing.firstRetryMs) << qMin(m_failures - 1, 20),
                              m_timing.longestRetryMs);
    SyncStatus::Outcome outcome = SyncStatus::Unreachable;
    if (response.answered() && response.status == 401) {
        outcome = SyncStatus::Unauthorized;
        m_waitForUser = true;
        waitMs = 0;
    } else if (response.answered() && (response.status == 503 || response.status == 429)) {
        outcome = SyncStatus::Busy;
        waitMs = retryAfterMs(response) > 0 ? retryAfterMs(response) : waitMs;
    } else if (response.answered()) {
        outcome = SyncStatus::Refused;
    }
    // The book tried stays due, with every book that waited behind it.
    m_due.insert(fingerprint, now());
    m_pausedUntil = now() + waitMs;
    report(outcome, reasonOf(response), waitMs);
    if (std::exchange(m_flushing, false))
        emit flushed();
    plan();
}

void SyncEngine::finishJob()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_ended.reset();
            next();
            if (isIdle())
                becameIdle();
        },
        Qt::QueuedConnection);
}

void SyncEngine::becameIdle()
{
    if (std::exchange(m_flushing, false))
        emit flushed();
    emit idle();
}

// The server's status line; for a request cut off by a bound, which bound.
QString SyncEngine::reasonOf(const ZkHttpResponse &response) const
{
    switch (response.failure) {
    case ZkHttpResponse::Deadline:
        return QCoreApplication::translate("QObject", "%1 秒内没有回答")
            .arg(m_timing.requestDeadlineMs / 1000.0);
    case ZkHttpResponse::TooLarge:
        return QCoreApplication::translate("QObject", "回答过大");
    default:
        return response.errorText;
    }
}

// Seconds, or a date; a server asking for longer than reasonable is
// answered later than it asked, never sooner.
int SyncEngine::retryAfterMs(const ZkHttpResponse &response) const
{
    const QByteArray value = response.header("Retry-After").trimmed();
    bool ok = false;
    qint64 ms = value.toLongLong(&ok) * 1000;
    if (!ok) {
        const QDateTime at = QDateTime::fromString(QString::fromLatin1(value), Qt::RFC2822Date);
        if (!at.isValid())
            return 0;
        ms = QDateTime::currentDateTimeUtc().msecsTo(at);
    }
    return int(qBound<qint64>(1000, ms, m_timing.longestServerWaitMs));
}

// ---- what the page is told ------------------------------------------------------------

void SyncEngine::report(SyncStatus::Outcome outcome, const QString &detail, int retryMs)
{
    SyncStatus status;
    status.outcome = outcome;
    status.when = QDateTime::currentDateTime();
    status.detail = detail;
    status.retrySeconds = (retryMs + 999) / 1000;
    status.waiting = waitingBooks();
    const bool news = status.outcome != m_status.outcome || status.detail != m_status.detail ||
                      status.waiting != m_status.waiting;
    m_status = status;
    m_state->lastOutcome = status;
    if (!news)
        return;
    m_state->save(m_stateFile);
    emit statusChanged(status);
}

int SyncEngine::waitingBooks() const
{
    int waiting = 0;
    for (const QString &fingerprint : m_state->books())
        waiting += hasChanges(fingerprint) ? 1 : 0;
    return waiting;
}

// With the account as typed, not yet saved: a connection of its own.
void SyncEngine::testConnection(const QUrl &address, const QString &user, const QString &password)
{
    const QString scheme = address.scheme();
    if (address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        emit connectionTested(false, SyncStatus{SyncStatus::NotConfigured}.text());
        return;
    }
    auto *probe = new WebDav(this);
    probe->setDeadline(m_timing.requestDeadlineMs);
    probe->setAccount(address, user, password);
    probe->find(QUrl(), 0, [this, probe](const ZkHttpResponse &response) {
        probe->deleteLater();
        if (response.answered() && isSuccess(response.status))
            emit connectionTested(true, QCoreApplication::translate("QObject", "连接成功"));
        else
            emit connectionTested(false,
                                  response.answered() ? response.errorText : reasonOf(response));
    });
}
