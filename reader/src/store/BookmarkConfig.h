#ifndef BOOKMARKCONFIG_H
#define BOOKMARKCONFIG_H

#include "ZkXmlFile.h"

#include <QList>
#include <QMetaType>
#include <QString>

struct BookmarkEntry {
    QString title;
    QString pos; // decimal character offset, kept as text until it is used
    // absolute path of the file the bookmark was added in; empty in lists
    // written before bookmarks knew their file
    QString file;
};

typedef QList<BookmarkEntry> BookmarkDataItem;

Q_DECLARE_METATYPE(BookmarkEntry)

// The user's bookmarks, one list for every file, kept in Bookmark.xml.
// The list is a class-level value: the bookmark menu and the manager
// dialog read it, replace it whole and then call save().
class BookmarkConfig : public ZkXmlFile
{
    Q_OBJECT

public:
    explicit BookmarkConfig(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;

    // Adds at the end without saving.
    void append(const QString &title, const QString &pos, const QString &file = QString());

    // The text with what XML 1.0 cannot carry mended: unpaired surrogates
    // become U+FFFD, other forbidden characters are dropped.
    static QString writableText(const QString &text);

    static BookmarkDataItem bookmarks;
};

#endif // BOOKMARKCONFIG_H
