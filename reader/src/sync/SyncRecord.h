#ifndef SYNCRECORD_H
#define SYNCRECORD_H

#include "ChangeStamp.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QXmlStreamReader;
class QXmlStreamWriter;

// What two machines keep in step about one book, known by its fingerprint:
// the reading position, the bookmarks (those removed too, so that removals
// travel) and the choices made for it, each with the stamp of its change.
// Positions are character positions in the file's decoded text, so they
// mean the same on every machine whatever its chapter rules.
struct SyncRecord {
    enum class Reading { Whole, Damaged, Newer };

    struct Position {
        int at = 0;
        ChangeStamp stamp;
        bool operator==(const Position &other) const
        {
            return at == other.at && stamp == other.stamp;
        }
    };

    struct Bookmark {
        QString title;
        QString at; // kept as the bookmark store keeps it, as text
        ChangeStamp stamp;
        bool removed = false;
        bool isSameAs(const Bookmark &other) const
        {
            return title == other.title && at == other.at;
        }
        bool operator==(const Bookmark &other) const
        {
            return isSameAs(other) && stamp == other.stamp && removed == other.removed;
        }
    };

    static constexpr int Version = 1;

    QString fingerprint;
    QString title; // the file's name, for people; not part of the state
    Position position;
    QList<Bookmark> bookmarks; // in sorted() order
    QMap<QString, QString> choices;
    ChangeStamp choicesStamp;

    bool isEmpty() const;
    bool operator==(const SyncRecord &other) const;
    bool operator!=(const SyncRecord &other) const { return !(*this == other); }
    // Bookmarks by position, then title: two machines list them alike.
    static void sortBookmarks(QList<Bookmark> &bookmarks);

    QByteArray toXml() const;
    // A record of a newer release is not read: writing back what this one
    // understood of it would take from the other release what it wrote.
    static Reading fromXml(const QByteArray &document, SyncRecord *record);
    // As one element, for a file that keeps records among other things.
    void write(QXmlStreamWriter *writer) const;
    static Reading read(QXmlStreamReader *reader, SyncRecord *record);
};

#endif // SYNCRECORD_H
