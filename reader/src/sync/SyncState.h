#ifndef SYNCSTATE_H
#define SYNCSTATE_H

#include "SyncRecord.h"
#include "SyncStatus.h"
#include "ZkXmlFile.h"

#include <QMap>
#include <QUrl>

// What this machine keeps of keeping in step, in Sync.xml beside the other
// settings files: its own identity, the account (never its password), the
// outcome of the last sync, and per book the file it lies in here and the
// state of it that this machine and the server last agreed on. A local
// change waits as the difference between the stores and that agreed state,
// so it survives a restart without a queue of its own.
class SyncState : public ZkXmlFile
{
    Q_OBJECT

public:
    explicit SyncState(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;

    // Made once, on the first load without one, and kept from then on.
    QString machine() const { return m_machine; }

    QUrl address;
    QString user;
    SyncStatus lastOutcome;

    QStringList books() const { return m_books.keys(); } // fingerprints
    QString fileOf(const QString &fingerprint) const;
    QString fingerprintOf(const QString &fileName) const;
    // False when the book was known there already.
    bool setFile(const QString &fingerprint, const QString &fileName);
    SyncRecord agreed(const QString &fingerprint) const;
    void setAgreed(const QString &fingerprint, const SyncRecord &record);
    // The server's tag of the agreed record, empty where it is not known:
    // a listing of the server tells which records changed since.
    QByteArray tagOf(const QString &fingerprint) const;
    void setTag(const QString &fingerprint, const QByteArray &tag);

private:
    struct Book {
        QString fileName; // absolute, on this machine
        SyncRecord agreed;
        QByteArray tag;
    };

    void readBook(QXmlStreamReader *reader);
    void readOutcome(QXmlStreamReader *reader);
    void writeOutcome(QXmlStreamWriter *writer) const;

    QString m_machine;
    QMap<QString, Book> m_books; // by fingerprint
};

#endif // SYNCSTATE_H
