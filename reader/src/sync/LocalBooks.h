#ifndef LOCALBOOKS_H
#define LOCALBOOKS_H

#include "SyncRecord.h"

#include <QString>

class BookmarkConfig;
class ReadingState;

// The stores of this machine seen as records of books: what a book's file
// holds there (its position, its bookmarks and removals, its choices) taken
// out as a record, and a merged record put back.
class LocalBooks
{
public:
    // Both stores are the program's own, saved to the files named; neither
    // is owned.
    LocalBooks(ReadingState *state, const QString &stateFile, BookmarkConfig *bookmarks,
               const QString &bookmarkFile);

    SyncRecord record(const QString &fingerprint, const QString &fileName) const;

    // What applying a record changed in the stores, which are not saved.
    struct Changes {
        bool positionMoved = false;
        int positionBefore = 0;
        bool readingState = false; // position, its stamp or the choices
        bool bookmarks = false;
    };
    Changes apply(const QString &fileName, const SyncRecord &record);
    // Saves the stores that changes touched.
    void save(const Changes &changes);

private:
    static void applyBookmarks(const QString &fileName,
                               const QList<SyncRecord::Bookmark> &bookmarks);

    ReadingState *m_state;
    QString m_stateFile;
    BookmarkConfig *m_bookmarks;
    QString m_bookmarkFile;
};

#endif // LOCALBOOKS_H
