#ifndef TEXTMATCHER_H
#define TEXTMATCHER_H

#include "BoundedRegex.h"
#include "SearchQuery.h"

#include <QString>

// Finds a query in a text: the words as typed, or a regular expression whose
// every match is bounded. A copy may match on any thread.
class TextMatcher
{
public:
    enum class Outcome {
        Matched,
        NoMatch,
        // the expression needed more work than a match may take
        LimitHit,
    };

    TextMatcher() = default;
    explicit TextMatcher(const SearchQuery &query);

    // An empty query or an expression that is not valid finds nothing.
    bool isValid() const;
    bool isRegex() const { return m_regex; }
    // Why the expression is not valid, in the matcher's words, and where.
    QString errorString() const { return m_pattern.errorString(); }
    int errorOffset() const { return m_pattern.errorOffset(); }

    // The first match in text that starts at or after from and is not empty.
    Outcome find(const QString &text, int from, int *start, int *length) const;

private:
    QString m_text;
    Qt::CaseSensitivity m_case = Qt::CaseSensitive;
    bool m_regex = false;
    BoundedRegex m_pattern;
};

#endif // TEXTMATCHER_H
