#ifndef CHAPTERFIT_H
#define CHAPTERFIT_H

#include "ChapterIndex.h"

// A line that may head a chapter in one reading of a text, before the
// reading's runs and lists of contents are looked at.
struct HeadingCandidate {
    Chapter chapter;
    int line = 0;       // lines with text above it
    QString key;        // what the members of a run share: the kind of number, the book's name
    qint64 number = -1; // its number in a run
};
Q_DECLARE_TYPEINFO(HeadingCandidate, Q_MOVABLE_TYPE);

// How the candidates of each reading become its headings, and which reading
// fits a text best. Pure.
namespace ChapterFit
{
// Members of runs of at least three lines with the same key whose numbers
// count up by one, each with other text between it and the one before: a
// lone numbered line in prose, or a list of points on adjacent lines, is no
// list of chapters.
QVector<Chapter> keepRuns(const QVector<HeadingCandidate> &candidates);
// All candidates, or none where there are fewer than three.
QVector<Chapter> keepAtLeastThree(const QVector<HeadingCandidate> &candidates);
// Without a list of contents: three or more headings on adjacent lines, at
// least half of which head the text again later.
QVector<HeadingCandidate> dropContents(const QVector<HeadingCandidate> &candidates);
// How well the headings cut a text of textSize characters: the number of
// chapters that even lengths would make of the same spread of lengths
// (exp of the entropy of the chapters' shares), times the share of the text
// from the first heading on. One long chapter costs little; a few headings
// in one corner of the text are worth little.
double score(const QVector<Chapter> &chapters, int textSize);
// The reading with the best score (the earlier in order of Reading on a
// tie); Numbered headings within the text's 一、二、三 sections are kept
// under them, the sections then as volumes. *chosen gets the reading,
// -1 where none has a heading.
QVector<Chapter> choose(const ChapterIndex::Readings &readings, int *chosen = nullptr);
} // namespace ChapterFit

#endif // CHAPTERFIT_H
