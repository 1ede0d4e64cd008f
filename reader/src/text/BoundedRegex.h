#ifndef BOUNDEDREGEX_H
#define BOUNDEDREGEX_H

#include <QString>
#include <QStringView>
#include <QVector>

#include <memory>

// A regular expression of the user's own whose every match is bounded:
// PCRE2 with limits on its backtracking, its memory and its stack, so that a
// hostile pattern (catastrophic backtracking, as in "(a+)+$") fails at once
// with a reason instead of freezing the reader. QRegularExpression offers no
// such limits. Matches a QString as it is (UTF-16, character positions; a
// lone surrogate never matches), \d and \w as Unicode knows them, so that
// full-width digits are digits. Copies share the compiled pattern; a match
// may run on any thread.
class BoundedRegex
{
public:
    enum Option {
        NoOptions = 0,
        CaseInsensitive = 1,
        // ^ and $ at every line break, as for a rule read line by line
        Multiline = 2,
    };
    Q_DECLARE_FLAGS(Options, Option)

    enum class Outcome {
        Matched,
        NoMatch,
        // the pattern needed more work than a match is allowed: it is
        // hostile, or too costly for this text
        LimitHit,
        Failed, // not a valid pattern, or an error of the matcher
    };

    struct Match {
        int start = -1;
        int length = 0;
        // start and length of each group, -1 for a group that took no part
        QVector<int> groupStarts;
        QVector<int> groupLengths;
        int end() const { return start + length; }
    };

    BoundedRegex() = default;
    explicit BoundedRegex(const QString &pattern, Options options = NoOptions);

    bool isValid() const;
    // Why the pattern is not valid, in the matcher's words, and where.
    QString errorString() const { return m_error; }
    int errorOffset() const { return m_errorOffset; }
    QString pattern() const { return m_pattern; }

    // The first match in subject at or after from.
    Outcome match(QStringView subject, int from, Match *match) const;

private:
    struct Compiled;
    std::shared_ptr<const Compiled> m_compiled;
    QString m_pattern;
    QString m_error;
    int m_errorOffset = -1;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(BoundedRegex::Options)

#endif // BOUNDEDREGEX_H
