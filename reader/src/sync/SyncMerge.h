#ifndef SYNCMERGE_H
#define SYNCMERGE_H

#include "SyncRecord.h"

// Merges what this machine holds of a book with what the server holds,
// against the state both last agreed on, so that no change is lost:
// - the position changed on one side only is taken from that side; changed
//   on both, the later change wins and the other stays as a bookmark (so
//   going back to a book's start on one machine is never undone by the
//   other's further position, and neither is lost);
// - bookmarks merge as sets: each one, and each removal, is kept with the
//   latest stamp it has on either side;
// - a choice changed on one side only is taken from there; changed on both,
//   the side whose choices changed later wins.
class SyncMerge
{
public:
    // conflictTitle: the title of the bookmark that keeps a losing position.
    static SyncRecord merge(const SyncRecord &agreed, const SyncRecord &local,
                            const SyncRecord &remote, const QString &conflictTitle);
    // The title this reader gives that bookmark.
    static QString conflictTitle();

private:
    static void mergePosition(const SyncRecord &agreed, const SyncRecord &local,
                              const SyncRecord &remote, const QString &conflictTitle,
                              SyncRecord *merged);
    static QList<SyncRecord::Bookmark> mergeBookmarks(const QList<SyncRecord::Bookmark> &local,
                                                      const QList<SyncRecord::Bookmark> &remote);
    static void mergeChoices(const SyncRecord &agreed, const SyncRecord &local,
                             const SyncRecord &remote, SyncRecord *merged);
};

#endif // SYNCMERGE_H
