#ifndef RULECLEANER_H
#define RULECLEANER_H

#include "BoundedRegex.h"
#include "TracedText.h"
#include "TransformOptions.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <vector>

// Applies cleaning rules to whole lines of a text, one rule after the other
// over the whole stretch, each within a line: a match that would reach over
// a line break is passed over, so that a rule finds in a stretch what it
// finds in the whole text. A line a rule finds whole and replaces with
// nothing goes with its line break. A rule whose expression is not valid,
// or that needs more work than a match may take, is left out from then on,
// and says why.
class RuleCleaner
{
public:
    struct Failure {
        QString rule; // its name
        QString reason;
    };

    explicit RuleCleaner(const QVector<CleaningRule> &rules);

    bool isEmpty() const { return m_rules.isEmpty(); }
    void clean(TracedText *text);
    // How many times each rule finds something in text (in the order the
    // rules were given, -1 for a rule that failed), as if each rule were
    // the only one.
    QVector<int> count(const QString &text);
    // The rules that failed since the last call, each once.
    QVector<Failure> takeFailures();

private:
    struct Compiled {
        CleaningRule rule;
        BoundedRegex regex;
        bool failed = false;
    };

    // What one rule finds in text, as edits; false when it failed.
    bool editsOf(Compiled &rule, const QString &text, QVector<TracedText::Edit> *edits);
    // The next match at or after from that stays within its line.
    bool findNext(Compiled &rule, const QString &text, int from, TracedText::Edit *edit);
    static QString expanded(const QString &replacement, const QString &text,
                            const BoundedRegex::Match &match);
    static void takeWholeLine(const QString &text, TracedText::Edit *edit);
    void fail(Compiled &rule, const QString &reason);
    // Marks the plain rules that find something starting in text between
    // from and to.
    void markPresent(const QString &text, int from, int to, std::vector<bool> *present) const;
    void markPresentNear(const QString &text, const QVector<TracedText::Edit> &edits,
                         std::vector<bool> *present) const;

    QVector<Compiled> m_rules;
    // The plain rules by the first character of their pattern.
    std::vector<bool> m_firstCharacters = std::vector<bool>(65536, false);
    QHash<ushort, QVector<int>> m_plainRulesByFirst;
    int m_longestPlainPattern = 0;
    QVector<Failure> m_failures;
};

#endif // RULECLEANER_H
