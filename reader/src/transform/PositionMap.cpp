#include "PositionMap.h"

#include <algorithm>

namespace
{

// The last change that starts at or before position on the side given by
// start and length, or null.
template <typename Start>
const PositionMap::Change *changeAt(const QVector<PositionMap::Change> &changes, int position,
                                    Start start)
{
    auto after = std::upper_bound(
        changes.cbegin(), changes.cend(), position,
        [start](int value, const PositionMap::Change &change) { return value < start(change); });
    return after == changes.cbegin() ? nullptr : &*(after - 1);
}

// position on the side from, in a change or after it, to the side to.
int across(int position, int from, int fromLength, int to, int toLength)
{
    if (position < from + fromLength)
        return to + (toLength == 0 ? 0 : qMin(position - from, toLength - 1));
    return to + toLength + (position - from - fromLength);
}

} // namespace

int PositionMap::toShown(int filePosition) const
{
    const Change *change =
        changeAt(m_changes, filePosition, [](const Change &c) { return c.file; });
    if (change == nullptr)
        return filePosition;
    // A run of changes at one file position (an insertion before a removal)
    // is found at its last; an insertion ends before the position it holds.
    return across(filePosition, change->file, change->fileLength, change->shown,
                  change->shownLength);
}

int PositionMap::toFile(int shownPosition) const
{
    const Change *change =
        changeAt(m_changes, shownPosition, [](const Change &c) { return c.shown; });
    if (change == nullptr)
        return shownPosition;
    return across(shownPosition, change->shown, change->shownLength, change->file,
                  change->fileLength);
}

// Two changes that touch become one, so that a removal and the insertion
// standing in its place map as a replacement.
void PositionMap::append(const Change &change)
{
    if (change.fileLength == 0 && change.shownLength == 0)
        return;
    if (!m_changes.isEmpty()) {
        Change &last = m_changes.last();
        if (last.file + last.fileLength == change.file &&
            last.shown + last.shownLength == change.shown) {
            last.fileLength += change.fileLength;
            last.shownLength += change.shownLength;
            return;
        }
    }
    m_changes.append(change);
}

void PositionMap::append(const PositionMap &stretch, int filePosition, int shownPosition)
{
    for (const Change &change : stretch.m_changes)
        append({change.file + filePosition, change.fileLength, change.shown + shownPosition,
                change.shownLength});
}
