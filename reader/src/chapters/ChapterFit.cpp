#include "ChapterFit.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace
{

const int MinRun = 3;

bool byPosition(const Chapter &a, const Chapter &b)
{
    return a.position < b.position;
}

QString withoutBlanks(const QString &title)
{
    QString bare;
    bare.reserve(title.size());
    for (const QChar c : title) {
        if (!c.isSpace())
            bare += c;
    }
    return bare;
}

} // namespace

QVector<Chapter> ChapterFit::keepRuns(const QVector<HeadingCandidate> &candidates)
{
    // Each key's candidates in text order.
    QHash<QString, QVector<int>> byKey;
    for (int i = 0; i < candidates.size(); ++i)
        byKey[candidates[i].key].append(i);
    QVector<Chapter> kept;
    for (const QVector<int> &members : qAsConst(byKey)) {
        int runStart = 0;
        for (int i = 1; i <= members.size(); ++i) {
            const bool continues =
                i < members.size() &&
                candidates[members[i]].number == candidates[members[i - 1]].number + 1 &&
                candidates[members[i]].line > candidates[members[i - 1]].line + 1;
            if (continues)
                continue;
            if (i - runStart >= MinRun) {
                for (int j = runStart; j < i; ++j)
                    kept.append(candidates[members[j]].chapter);
            }
            runStart = i;
        }
    }
    std::sort(kept.begin(), kept.end(), byPosition);
    return kept;
}

QVector<Chapter> ChapterFit::keepAtLeastThree(const QVector<HeadingCandidate> &candidates)
{
    QVector<Chapter> kept;
    if (candidates.size() < MinRun)
        return kept;
    kept.reserve(candidates.size());
    for (const HeadingCandidate &candidate : candidates)
        kept.append(candidate.chapter);
    return kept;
}

QVector<HeadingCandidate> ChapterFit::dropContents(const QVector<HeadingCandidate> &candidates)
{
    QVector<bool> drop(candidates.size(), false);
    bool any = false;
    int blockStart = 0;
    // The block's titles: the body's first heading may follow the list
    // without a line between, and ends the list by repeating its first title.
    QSet<QString> inBlock;
    if (!candidates.isEmpty())
        inBlock.insert(withoutBlanks(candidates[0].chapter.title));
    for (int i = 1; i <= candidates.size(); ++i) {
        if (i < candidates.size() && candidates[i].line == candidates[i - 1].line + 1) {
            const QString title = withoutBlanks(candidates[i].chapter.title);
            if (!inBlock.contains(title)) {
                inBlock.insert(title);
                continue;
            }
        }
        inBlock.clear();
        if (i < candidates.size())
            inBlock.insert(withoutBlanks(candidates[i].chapter.title));
        if (i - blockStart >= MinRun) {
            // The titles that head the text after the block.
            QSet<QString> later;
            for (int j = i; j < candidates.size(); ++j)
                later.insert(withoutBlanks(candidates[j].chapter.title));
            int again = 0;
            for (int j = blockStart; j < i; ++j)
                again += later.contains(withoutBlanks(candidates[j].chapter.title)) ? 1 : 0;
            if (again > 0 && 2 * again >= i - blockStart) {
                for (int j = blockStart; j < i; ++j)
                    drop[j] = true;
                any = true;
            }
        }
        blockStart = i;
    }
    if (!any)
        return candidates;
    QVector<HeadingCandidate> kept;
    for (int i = 0; i < candidates.size(); ++i) {
        if (!drop[i])
            kept.append(candidates[i]);
    }
    return kept;
}

double ChapterFit::score(const QVector<Chapter> &chapters, int textSize)
{
    if (chapters.isEmpty() || textSize <= 0)
        return 0;
    const double covered = qMax(1, textSize - chapters.first().position);
    double entropy = 0;
    for (int i = 0; i < chapters.size(); ++i) {
        const int end = i + 1 < chapters.size() ? chapters[i + 1].position : textSize;
        const double share = qMax(1, end - chapters[i].position) / covered;
        entropy -= share * std::log(share);
    }
    return std::exp(entropy) * covered / textSize;
}

QVector<Chapter> ChapterFit::choose(const ChapterIndex::Readings &readings, int *chosen)
{
    int best = -1;
    double bestScore = 0;
    for (int reading = 0; reading < ChapterIndex::ReadingCount; ++reading) {
        const double fit = score(readings.of[reading], readings.textSize);
        if (fit > bestScore) {
            best = reading;
            bestScore = fit;
        }
    }
    if (chosen != nullptr)
        *chosen = best;
    if (best < 0)
        return {};
    QVector<Chapter> chapters = readings.of[best];
    const QVector<Chapter> &numbered = readings.of[ChapterIndex::Numbered];
    if (best == ChapterIndex::Sections) {
        const int sections = chapters.size();
        for (const Chapter &chapter : numbered) {
            if (chapter.position > chapters.first().position)
                chapters.append(chapter);
        }
        if (chapters.size() > sections) {
            for (int i = 0; i < sections; ++i)
                chapters[i].level = 0;
            std::sort(chapters.begin(), chapters.end(), byPosition);
        }
    }
    return chapters;
}
