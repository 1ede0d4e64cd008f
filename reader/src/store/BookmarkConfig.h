#ifndef BOOKMARKCONFIG_H
#define BOOKMARKCONFIG_H

#include "ChangeStamp.h"
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
    ChangeStamp stamp; // when it was added, or for a removed one when it was removed

    // The same bookmark, wherever and whenever it was made: on two machines
    // the same title at the same place of the same file is one bookmark.
    bool isSameAs(const BookmarkEntry &other) const
    {
        return title == other.title && pos == other.pos && file == other.file;
    }
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

    // Adds at the end without saving, stamped as made now.
    void append(const QString &title, const QString &pos, const QString &file = QString());
    // Replaces the whole list without saving; the bookmarks of a file that
    // are not in the new list are remembered as removed, so that another
    // machine removes them too.
    void replace(const BookmarkDataItem &item);

    // The text with what XML 1.0 cannot carry mended: unpaired surrogates
    // become U+FFFD, other forbidden characters are dropped.
    static QString writableText(const QString &text);

    static constexpr int MaxRemoved = 2000;

    static BookmarkDataItem bookmarks;
    // Bookmarks of files removed by the user, the latest removal last; the
    // oldest beyond MaxRemoved are forgotten.
    static BookmarkDataItem removed;
};

#endif // BOOKMARKCONFIG_H
