#ifndef CHAPTERRULE_H
#define CHAPTERRULE_H

#include "ChapterIndex.h"

#include <QString>

#include <atomic>

// The rule a book's chapters are found by: the automatic choice among the
// readings of ChapterIndex, one reading by name, or a regular expression
// of the reader's own that a heading's line matches (each line on its own,
// white space at either end left out, its first 300 characters; every
// match bounded by BoundedRegex).
struct ChapterRule {
    enum Kind { Automatic, Ordinals, Marked, Numbered, BookName, Sections, Custom, KindCount };

    Kind kind = Automatic;
    QString pattern; // of a Custom rule

    // Where the rule of a book is kept among its choices (ReadingState).
    static const QString ChoiceKey;
    // "" for Automatic (nothing to keep), "ordinals", …, "regex:<pattern>".
    QString toChoice() const;
    // Automatic for anything it does not know.
    static ChapterRule fromChoice(const QString &choice);
    // The rule's name as the reader sees it.
    static QString nameOf(Kind kind);

    bool operator==(const ChapterRule &other) const
    {
        return kind == other.kind && (kind != Custom || pattern == other.pattern);
    }
    bool operator!=(const ChapterRule &other) const { return !(*this == other); }
};

// What a rule found in a text.
struct ChapterScan {
    QVector<Chapter> chapters;
    int textSize = 0;
    // Why the rule could not be used (an invalid expression, a match that
    // went past its bound); empty where it could. A rule that hits the bound
    // stops there: its chapters are then the ones found before.
    QString error;
    bool cancelled = false;

    // Characters of the longest chapter, and its row; 0 and -1 without one.
    int longest(int *row = nullptr) const;
};

// Pure; any thread.
namespace ChapterRules
{
ChapterScan scan(const QString &text, const ChapterRule &rule,
                 const std::atomic<bool> *cancel = nullptr);
// The named rules' scans from readings, Automatic included (index Kind).
ChapterScan fromReadings(const ChapterIndex::Readings &readings, ChapterRule::Kind kind);
// The reason a pattern cannot be a rule, empty where it can.
QString patternError(const QString &pattern);
} // namespace ChapterRules

#endif // CHAPTERRULE_H
