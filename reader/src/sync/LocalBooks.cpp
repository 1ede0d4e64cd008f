#include "LocalBooks.h"

#include "BookmarkConfig.h"
#include "ReadingState.h"

#include <QDir>
#include <QFileInfo>

namespace
{

bool isOf(const BookmarkEntry &entry, const QString &absoluteFile)
{
    return !entry.file.isEmpty() && ReadingState::absoluteName(entry.file) == absoluteFile;
}

SyncRecord::Bookmark synced(const BookmarkEntry &entry, bool removed)
{
    return {entry.title, entry.pos, entry.stamp, removed};
}

} // namespace

LocalBooks::LocalBooks(ReadingState *state, const QString &stateFile, BookmarkConfig *bookmarks,
                       const QString &bookmarkFile)
    : m_state(state), m_stateFile(stateFile), m_bookmarks(bookmarks), m_bookmarkFile(bookmarkFile)
{
}

SyncRecord LocalBooks::record(const QString &fingerprint, const QString &fileName) const
{
    const QString file = ReadingState::absoluteName(fileName);
    SyncRecord record;
    record.fingerprint = fingerprint;
    record.title = QFileInfo(file).fileName();
    record.position = {qMax(0, m_state->position(file)), m_state->positionStamp(file)};
    record.choices = m_state->choices(file);
    record.choicesStamp = m_state->choicesStamp(file);
    // Removals first: a bookmark added again after its removal is there.
    QList<SyncRecord::Bookmark> bookmarks;
    const auto add = [&bookmarks](const SyncRecord::Bookmark &bookmark) {
        for (SyncRecord::Bookmark &kept : bookmarks) {
            if (kept.isSameAs(bookmark)) {
                if (!kept.stamp.isLaterThan(bookmark.stamp))
                    kept = bookmark;
                return;
            }
        }
        bookmarks.append(bookmark);
    };
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::removed))
        if (isOf(entry, file))
            add(synced(entry, true));
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
        if (isOf(entry, file))
            add(synced(entry, false));
    SyncRecord::sortBookmarks(bookmarks);
    record.bookmarks = bookmarks;
    return record;
}

LocalBooks::Changes LocalBooks::apply(const QString &fileName, const SyncRecord &record)
{
    const QString file = ReadingState::absoluteName(fileName);
    const SyncRecord before = this->record(record.fingerprint, file);
    Changes changes;
    changes.positionBefore = before.position.at;
    if (!(before.position == record.position)) {
        m_state->setPosition(file, record.position.at, record.position.stamp);
        changes.positionMoved = before.position.at != record.position.at;
        changes.readingState = true;
    }
    if (before.choices != record.choices || before.choicesStamp != record.choicesStamp) {
        m_state->setChoices(file, record.choices, record.choicesStamp);
        changes.readingState = true;
    }
    if (before.bookmarks != record.bookmarks) {
        applyBookmarks(file, record.bookmarks);
        changes.bookmarks = true;
    }
    return changes;
}

// The file's bookmarks keep their places in the list; those new to it come
// at its end, in position order, and removed ones go to the removals.
void LocalBooks::applyBookmarks(const QString &file, const QList<SyncRecord::Bookmark> &bookmarks)
{
    const auto find = [&bookmarks](const BookmarkEntry &entry) {
        for (const SyncRecord::Bookmark &bookmark : bookmarks) {
            if (bookmark.title == entry.title && bookmark.at == entry.pos)
                return &bookmark;
        }
        return static_cast<const SyncRecord::Bookmark *>(nullptr);
    };
    BookmarkDataItem list;
    QList<const SyncRecord::Bookmark *> listed;
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks)) {
        const SyncRecord::Bookmark *merged = isOf(entry, file) ? find(entry) : nullptr;
        if (!isOf(entry, file)) {
            list.append(entry);
        } else if (merged != nullptr && !merged->removed && !listed.contains(merged)) {
            list.append({entry.title, entry.pos, entry.file, merged->stamp});
            listed.append(merged);
        }
    }
    for (const SyncRecord::Bookmark &bookmark : bookmarks) {
        if (!bookmark.removed && !listed.contains(&bookmark))
            list.append({bookmark.title, bookmark.at, file, bookmark.stamp});
    }
    BookmarkDataItem removed;
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::removed))
        if (!isOf(entry, file))
            removed.append(entry);
    for (const SyncRecord::Bookmark &bookmark : bookmarks)
        if (bookmark.removed)
            removed.append({bookmark.title, bookmark.at, file, bookmark.stamp});
    BookmarkConfig::bookmarks = list;
    BookmarkConfig::removed = removed;
}

void LocalBooks::save(const Changes &changes)
{
    if (changes.readingState)
        m_state->save(m_stateFile);
    if (changes.bookmarks)
        m_bookmarks->save(m_bookmarkFile);
}
