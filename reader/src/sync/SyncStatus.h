#ifndef SYNCSTATUS_H
#define SYNCSTATUS_H

#include <QDateTime>
#include <QMetaType>
#include <QString>

// How the last attempt to keep in step went, as the sync page tells it.
struct SyncStatus {
    enum Outcome {
        Never,        // no attempt yet
        Done,         // in step
        Unreachable,  // no answer: offline, refused, too slow
        Busy,         // 503 or 429: waits as long as the server asks
        Unauthorized, // 401: waits for another user or password
        Refused,      // another status the server gave, said as it gave it
        NotConfigured // no address
    };

    Outcome outcome = Never;
    QDateTime when;       // of the attempt, local time
    QString detail;       // the server's status line or the network's reason
    int retrySeconds = 0; // until the next attempt, when one is planned
    int waiting = 0;      // books whose changes are not on the server yet

    bool operator==(const SyncStatus &other) const
    {
        return outcome == other.outcome && when == other.when && detail == other.detail &&
               retrySeconds == other.retrySeconds && waiting == other.waiting;
    }
    // For the page, in the user's language.
    QString text() const;
    // Stored by these names, which never change.
    static QString keyOf(Outcome outcome);
    static Outcome outcomeOf(const QString &key);
};

Q_DECLARE_METATYPE(SyncStatus)

#endif // SYNCSTATUS_H
