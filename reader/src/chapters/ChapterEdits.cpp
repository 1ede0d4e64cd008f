#include "ChapterEdits.h"

#include <QStringList>

#include <algorithm>

const QString ChapterEdits::ChoiceKey = QStringLiteral("目录修改");

namespace
{

void insertSorted(QVector<int> &positions, int position)
{
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    if (at == positions.end() || *at != position)
        positions.insert(at, position);
}

bool takeOut(QVector<int> &positions, int position)
{
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    if (at == positions.end() || *at != position)
        return false;
    positions.erase(at);
    return true;
}

} // namespace

QString ChapterEdits::toChoice() const
{
    QStringList parts;
    for (const int position : added)
        parts << QStringLiteral("+%1").arg(position);
    for (const int position : removed)
        parts << QStringLiteral("-%1").arg(position);
    return parts.join(QLatin1Char(','));
}

ChapterEdits ChapterEdits::fromChoice(const QString &choice)
{
    ChapterEdits edits;
    for (const QString &part : choice.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int position = part.mid(1).toInt(&ok);
        if (!ok || position < 0)
            continue;
        if (part.startsWith(QLatin1Char('+')))
            insertSorted(edits.added, position);
        else if (part.startsWith(QLatin1Char('-')))
            insertSorted(edits.removed, position);
    }
    return edits;
}

void ChapterEdits::add(int position)
{
    if (!takeOut(removed, position))
        insertSorted(added, position);
}

void ChapterEdits::remove(int position)
{
    if (!takeOut(added, position))
        insertSorted(removed, position);
}

QVector<Chapter> ChapterEdits::applied(QVector<Chapter> chapters,
                                       const std::function<QString(int)> &titleAt) const
{
    if (isEmpty())
        return chapters;
    QVector<Chapter> result;
    result.reserve(chapters.size() + added.size());
    for (const Chapter &chapter : chapters) {
        if (!std::binary_search(removed.cbegin(), removed.cend(), chapter.position))
            result.append(chapter);
    }
    const auto before = [](const Chapter &chapter, int position) {
        return chapter.position < position;
    };
    for (const int position : added) {
        const auto at = std::lower_bound(result.begin(), result.end(), position, before);
        if (at != result.end() && at->position == position)
            continue;
        const QString title = titleAt(position);
        if (!title.isEmpty())
            result.insert(at, {title, position, 1});
    }
    return result;
}
