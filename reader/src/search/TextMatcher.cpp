#include "TextMatcher.h"

// ^ and $ stand at every line break, as a reader of lines expects.
TextMatcher::TextMatcher(const SearchQuery &query)
    : m_text(query.text), m_case(query.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
      m_regex(query.regex)
{
    if (m_regex && !m_text.isEmpty()) {
        BoundedRegex::Options options = BoundedRegex::Multiline;
        if (!query.matchCase)
            options |= BoundedRegex::CaseInsensitive;
        m_pattern = BoundedRegex(m_text, options);
    }
}

bool TextMatcher::isValid() const
{
    return !m_text.isEmpty() && (!m_regex || m_pattern.isValid());
}

// An expression that can match nothing ("a*") would list every position;
// its empty matches are passed over.
TextMatcher::Outcome TextMatcher::find(const QString &text, int from, int *start, int *length) const
{
    if (!isValid())
        return Outcome::NoMatch;
    if (!m_regex) {
        *start = text.indexOf(m_text, from, m_case);
        *length = m_text.size();
        return *start < 0 ? Outcome::NoMatch : Outcome::Matched;
    }
    BoundedRegex::Match match;
    while (from <= text.size()) {
        switch (m_pattern.match(text, from, &match)) {
        case BoundedRegex::Outcome::Matched:
            break;
        case BoundedRegex::Outcome::LimitHit:
            return Outcome::LimitHit;
        default:
            return Outcome::NoMatch;
        }
        if (match.length > 0) {
            *start = match.start;
            *length = match.length;
            return Outcome::Matched;
        }
        from = match.start + 1;
    }
    return Outcome::NoMatch;
}
