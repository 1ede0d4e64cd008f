#include "RuleCleaner.h"

#include <QCoreApplication>

namespace
{

BoundedRegex::Match shifted(BoundedRegex::Match match, int offset)
{
    match.start += offset;
    for (int &start : match.groupStarts) {
        if (start >= 0)
            start += offset;
    }
    return match;
}

} // namespace

RuleCleaner::RuleCleaner(const QVector<CleaningRule> &rules)
{
    for (const CleaningRule &rule : rules) {
        if (!rule.enabled || rule.pattern.isEmpty())
            continue;
        Compiled compiled{rule, BoundedRegex(), false};
        if (rule.regex) {
            compiled.regex = BoundedRegex(rule.pattern, BoundedRegex::Multiline);
            if (!compiled.regex.isValid())
                fail(compiled, compiled.regex.errorString());
        }
        if (!rule.regex) {
            m_firstCharacters[rule.pattern.at(0).unicode()] = true;
            m_plainRulesByFirst[rule.pattern.at(0).unicode()].append(m_rules.size());
            m_longestPlainPattern = qMax(m_longestPlainPattern, int(rule.pattern.size()));
        }
        m_rules << compiled;
    }
}

// A user's list of sites to remove is mostly plain words that never occur:
// one pass tells which plain rules can find anything, and only those look.
// Once a rule has changed the text, a later one may find what it made, next
// to what it changed; there, the others look again.
void RuleCleaner::clean(TracedText *text)
{
    std::vector<bool> present(size_t(m_rules.size()), false);
    markPresent(text->text(), 0, text->size(), &present);
    for (int i = 0; i < m_rules.size(); ++i) {
        Compiled &rule = m_rules[i];
        if (rule.failed || (!rule.rule.regex && !present[size_t(i)]))
            continue;
        QVector<TracedText::Edit> edits;
        if (editsOf(rule, text->text(), &edits) && !edits.isEmpty()) {
            text->apply(edits);
            markPresentNear(text->text(), edits, &present);
        }
    }
}

// Around each edit, where it now stands in text, as far as a pattern reaches.
void RuleCleaner::markPresentNear(const QString &text, const QVector<TracedText::Edit> &edits,
                                  std::vector<bool> *present) const
{
    int shift = 0;
    for (const TracedText::Edit &edit : edits) {
        const int at = edit.position + shift;
        markPresent(text, at - m_longestPlainPattern + 1,
                    at + edit.replacement.size() + m_longestPlainPattern - 1, present);
        shift += edit.replacement.size() - edit.length;
    }
}

void RuleCleaner::markPresent(const QString &text, int from, int to,
                              std::vector<bool> *present) const
{
    if (m_plainRulesByFirst.isEmpty())
        return;
    const QChar *characters = text.constData();
    from = qMax(0, from);
    to = qMin(to, int(text.size()));
    for (int i = from; i < to; ++i) {
        const ushort c = characters[i].unicode();
        if (!m_firstCharacters[c])
            continue;
        for (int rule : m_plainRulesByFirst.value(c)) {
            if (!(*present)[size_t(rule)] &&
                QStringView(text).mid(i).startsWith(m_rules.at(rule).rule.pattern))
                (*present)[size_t(rule)] = true;
        }
    }
}

QVector<int> RuleCleaner::count(const QString &text)
{
    QVector<int> counts;
    for (Compiled &rule : m_rules) {
        QVector<TracedText::Edit> edits;
        counts << (!rule.failed && editsOf(rule, text, &edits) ? edits.size() : -1);
    }
    return counts;
}

QVector<RuleCleaner::Failure> RuleCleaner::takeFailures()
{
    return std::exchange(m_failures, {});
}

bool RuleCleaner::editsOf(Compiled &rule, const QString &text, QVector<TracedText::Edit> *edits)
{
    TracedText::Edit edit{0, 0, QString()};
    for (int from = 0; from <= text.size() && findNext(rule, text, from, &edit);) {
        if (edit.replacement.isEmpty())
            takeWholeLine(text, &edit);
        edits->append(edit);
        from = edit.position + qMax(1, edit.length);
    }
    return !rule.failed;
}

bool RuleCleaner::findNext(Compiled &rule, const QString &text, int from, TracedText::Edit *edit)
{
    while (from <= text.size()) {
        if (!rule.rule.regex) {
            const int at = text.indexOf(rule.rule.pattern, from);
            if (at < 0 || rule.rule.pattern.contains(QLatin1Char('\n')))
                return false;
            *edit = {at, rule.rule.pattern.size(), rule.rule.replacement};
            return true;
        }
        BoundedRegex::Match match;
        switch (rule.regex.match(text, from, &match)) {
        case BoundedRegex::Outcome::NoMatch:
            return false;
        case BoundedRegex::Outcome::LimitHit:
            fail(rule, QCoreApplication::translate("QObject", "匹配所需的运算超出了上限"));
            return false;
        case BoundedRegex::Outcome::Failed:
            fail(rule, QCoreApplication::translate("QObject", "无法匹配"));
            return false;
        case BoundedRegex::Outcome::Matched:
            break;
        }
        // Finding nothing at all: on from the next character. Over a line
        // break: the line alone is asked again, from there.
        if (match.length == 0) {
            from = match.start + 1;
            continue;
        }
        if (text.midRef(match.start, match.length).contains(QLatin1Char('\n'))) {
            const int lineStart = text.lastIndexOf(QLatin1Char('\n'), match.start - 1) + 1;
            const int lineEnd = text.indexOf(QLatin1Char('\n'), match.start);
            const QStringView line = QStringView(text).mid(lineStart, lineEnd - lineStart);
            BoundedRegex::Match inLine;
            if (lineEnd < 0 ||
                rule.regex.match(line, match.start - lineStart, &inLine) !=
                    BoundedRegex::Outcome::Matched ||
                inLine.length == 0) {
                from = lineEnd < 0 ? text.size() + 1 : lineEnd + 1;
                continue;
            }
            match = shifted(inLine, lineStart);
        }
        *edit = {match.start, match.length, expanded(rule.rule.replacement, text, match)};
        return true;
    }
    return false;
}

// $1 … $9 stand for the groups, $$ for a dollar sign.
QString RuleCleaner::expanded(const QString &replacement, const QString &text,
                              const BoundedRegex::Match &match)
{
    if (!replacement.contains(QLatin1Char('$')))
        return replacement;
    QString result;
    for (int i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        const QChar next = i + 1 < replacement.size() ? replacement.at(i + 1) : QChar();
        if (c == QLatin1Char('$') && next == QLatin1Char('$')) {
            result += c;
            ++i;
        } else if (c == QLatin1Char('$') && next >= QLatin1Char('1') && next <= QLatin1Char('9')) {
            const int group = next.unicode() - '1';
            if (group < match.groupStarts.size() && match.groupStarts.at(group) >= 0)
                result += text.midRef(match.groupStarts.at(group), match.groupLengths.at(group));
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

// A line the match takes whole goes with its line break.
void RuleCleaner::takeWholeLine(const QString &text, TracedText::Edit *edit)
{
    const int end = edit->position + edit->length;
    const bool atLineStart =
        edit->position == 0 || text.at(edit->position - 1) == QLatin1Char('\n');
    if (atLineStart && end < text.size() && text.at(end) == QLatin1Char('\n'))
        ++edit->length;
}

void RuleCleaner::fail(Compiled &rule, const QString &reason)
{
    if (rule.failed)
        return;
    rule.failed = true;
    m_failures << Failure{rule.rule.name, reason};
}
