#include "ParagraphTidier.h"

#include "ChapterIndex.h"

#include <QList>
#include <QVector>

namespace
{

const QString Indent = QStringLiteral("\u3000\u3000");
// A line this much narrower than the page still reached its edge: a
// character that may not begin a line, or a Latin word, moved on.
const int WidthTolerance = 4;
// Lines of a broken book at the page's width, of all its lines with text,
// at least; and of those, the share that does not end a sentence.
const double WrappedShare = 0.45;
const double OpenShare = 0.6;
const int MinWrapWidth = 20;
const int MinJudgedLines = 20;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c.unicode() == 0x3000 ||
           c.unicode() == 0xA0 || c.unicode() == 0xFEFF;
}

bool endsSentence(QChar c)
{
    return QStringView(u"。！？!?…．.”’」』\"").contains(c);
}

bool opensDialogue(QChar c)
{
    return QStringView(u"“「『‘\"").contains(c);
}

bool isLatin(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

// Columns the text took on a page: a wide character two, others one.
int widthOf(QStringView text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

QStringView trimmedEnd(QStringView text)
{
    int end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.left(end);
}

} // namespace

ParagraphTidier::ParagraphTidier(bool keepOneBlankLine) : m_keepOneBlankLine(keepOneBlankLine) {}

void ParagraphTidier::judge(QStringView sample)
{
    m_judged = true;
    QVector<int> widths;
    QVector<bool> open;
    for (const QStringView line : sample.split(QLatin1Char('\n'))) {
        int lead = 0;
        while (lead < line.size() && isBlank(line[lead]))
            ++lead;
        const QStringView body = trimmedEnd(line.mid(lead));
        if (body.isEmpty() || ChapterIndex::isHeadingLine(body))
            continue;
        widths << qMin(widthOf(body), 400);
        open << !endsSentence(body.back());
    }
    if (widths.size() < MinJudgedLines)
        return;
    // The page width is the one that the most lines reach, within the
    // tolerance.
    QVector<int> count(402, 0);
    for (const int width : qAsConst(widths))
        ++count[width];
    int best = 0, reaching = 0;
    for (int width = MinWrapWidth; width <= 400; ++width) {
        int lines = 0;
        for (int w = width - WidthTolerance; w <= width; ++w)
            lines += count[w];
        if (lines > reaching) {
            best = width;
            reaching = lines;
        }
    }
    int reachingOpen = 0;
    for (int i = 0; i < widths.size(); ++i)
        reachingOpen += widths[i] >= best - WidthTolerance && widths[i] <= best && open[i];
    if (reaching >= WrappedShare * widths.size() && reachingOpen >= OpenShare * reaching)
        m_width = best;
}

int ParagraphTidier::tidy(TracedText *text, bool last)
{
    const QString &content = text->text();
    QVector<TracedText::Edit> edits;
    Line line = lineAt(content, 0);
    while (line.start < content.size()) {
        const int nextStart = line.start + line.length + (line.broken ? 1 : 0);
        const bool hasNext = nextStart < content.size();
        if (!hasNext && !last && line.broken)
            break; // settled once the line after it is known
        const Line next = lineAt(content, nextStart);
        tidyLine(content, line, hasNext ? &next : nullptr, &edits);
        line = next;
    }
    const int kept = line.start;
    text->apply(edits);
    int shift = 0; // where the edits moved the line that stays
    for (const TracedText::Edit &edit : qAsConst(edits))
        shift += edit.replacement.size() - edit.length;
    return kept + shift;
}

ParagraphTidier::Line ParagraphTidier::lineAt(const QString &text, int start) const
{
    int end = text.indexOf(QLatin1Char('\n'), start);
    const bool broken = end >= 0;
    if (!broken)
        end = text.size();
    int lead = 0;
    while (start + lead < end && isBlank(text.at(start + lead)))
        ++lead;
    return {start, lead, end - start, broken};
}

void ParagraphTidier::tidyLine(const QString &text, const Line &line, const Line *next,
                               QVector<TracedText::Edit> *edits)
{
    const QStringView body =
        trimmedEnd(QStringView(text).mid(line.start + line.lead, line.length - line.lead));
    if (body.isEmpty()) {
        // A blank line ends a paragraph; it goes, or stays as the one kept.
        const bool keep = m_keepOneBlankLine && !m_afterBlank && line.broken;
        edits->append({line.start, keep ? line.length : line.length + (line.broken ? 1 : 0), {}});
        m_afterBlank = m_afterBlank || keep;
        m_continues = false;
        return;
    }
    m_afterBlank = false;
    if (ChapterIndex::isHeadingLine(body)) {
        m_continues = false;
        return;
    }
    const QStringView lead = QStringView(text).mid(line.start, line.lead);
    if (m_continues) {
        if (line.lead > 0)
            edits->append({line.start, line.lead, {}});
    } else if (lead != Indent) {
        edits->append({line.start, line.lead, Indent});
    }
    m_continues = false;
    if (next == nullptr || !line.broken || m_width == 0)
        return;
    const QStringView nextBody =
        QStringView(text).mid(next->start + next->lead, next->length - next->lead);
    if (!joins(body, trimmedEnd(nextBody), next->lead))
        return;
    // Blanks at the line's end would stand inside the joined sentence.
    const int end = line.start + line.lead + body.size();
    edits->append({end, line.start + line.length + 1 - end, {}});
    m_continues = true;
}

bool ParagraphTidier::joins(QStringView body, QStringView next, int nextLead) const
{
    if (next.isEmpty() || nextLead > 0 || widthOf(body) < m_width - WidthTolerance)
        return false;
    if (endsSentence(body.back()) || opensDialogue(next.front()))
        return false;
    if (isLatin(body.back()) && isLatin(next.front()))
        return false;
    return !ChapterIndex::isHeadingLine(next);
}
