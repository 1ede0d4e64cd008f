#include "TracedText.h"

#include <algorithm>

TracedText::TracedText(QString text, int fileStart)
    : m_text(std::move(text)), m_fileStart(fileStart)
{
    if (!m_text.isEmpty())
        m_spans.push_back({0, fileStart});
}

void TracedText::SpanList::add(int origin, int length)
{
    if (length <= 0)
        return;
    if (!m_spans.empty()) {
        const Span &last = m_spans.back();
        const bool continues =
            last.origin < 0 ? origin < 0 : origin == last.origin + (m_size - last.at);
        if (continues) {
            m_size += length;
            return;
        }
    }
    m_spans.push_back({m_size, origin});
    m_size += length;
}

void TracedText::SpanList::addFrom(const std::vector<Span> &spans, int size, int from, int to)
{
    auto span = std::upper_bound(spans.begin(), spans.end(), from,
                                 [](int position, const Span &s) { return position < s.at; });
    if (span != spans.begin())
        --span;
    for (; span != spans.end() && span->at < to; ++span) {
        const int start = qMax(span->at, from);
        const int end = qMin(span + 1 == spans.end() ? size : (span + 1)->at, to);
        add(span->origin < 0 ? -1 : span->origin + (start - span->at), end - start);
    }
}

int TracedText::spanEnd(int span) const
{
    return size_t(span) + 1 < m_spans.size() ? m_spans[size_t(span) + 1].at : m_text.size();
}

void TracedText::replace(int position, int length, const QString &replacement)
{
    apply({{position, length, replacement}});
}

// Written into the buffer of the text before last, so that the rules of a
// piece, one after the other, do not each allocate and fault in megabytes.
void TracedText::apply(const QVector<Edit> &edits)
{
    if (edits.isEmpty())
        return;
    int size = m_text.size();
    for (const Edit &edit : edits)
        size += edit.replacement.size() - edit.length;
    m_spareText.resize(size);
    QChar *text = m_spareText.data();
    SpanList spans;
    int from = 0;
    const auto keep = [&](int to) {
        text = std::copy(m_text.constData() + from, m_text.constData() + to, text);
        spans.addFrom(m_spans, m_text.size(), from, to);
    };
    for (const Edit &edit : edits) {
        keep(edit.position);
        text = std::copy_n(edit.replacement.constData(), edit.replacement.size(), text);
        spans.add(-1, edit.replacement.size());
        from = edit.position + edit.length;
    }
    keep(m_text.size());
    std::swap(m_text, m_spareText);
    m_spans = spans.take();
}

TracedText TracedText::split(int position, int fileEnd)
{
    TracedText tail(m_text.mid(position), fileEnd);
    SpanList tailSpans;
    tailSpans.addFrom(m_spans, m_text.size(), position, m_text.size());
    tail.m_spans = tailSpans.take();
    const auto fromFile = std::find_if(tail.m_spans.begin(), tail.m_spans.end(),
                                       [](const Span &span) { return span.origin >= 0; });
    if (fromFile != tail.m_spans.end())
        tail.m_fileStart = fromFile->origin;
    SpanList head;
    head.addFrom(m_spans, m_text.size(), 0, position);
    m_spans = head.take();
    m_text.truncate(position);
    return tail;
}

void TracedText::append(const TracedText &other)
{
    if (m_text.isEmpty() && m_spans.empty()) {
        m_fileStart = other.m_fileStart;
        m_text = other.m_text;
        m_spans = other.m_spans;
        return;
    }
    SpanList spans;
    spans.addFrom(m_spans, m_text.size(), 0, m_text.size());
    spans.addFrom(other.m_spans, other.size(), 0, other.size());
    m_spans = spans.take();
    m_text += other.m_text;
}

PositionMap TracedText::changes(int fileEnd) const
{
    PositionMap map;
    int file = m_fileStart;
    const int count = int(m_spans.size());
    for (int span = 0; span < count;) {
        if (m_spans[size_t(span)].origin == file) {
            file += spanEnd(span) - m_spans[size_t(span)].at;
            ++span;
            continue;
        }
        // What was removed before the next character from the file, and
        // what was inserted in its place.
        const int shown = m_spans[size_t(span)].at;
        int shownEnd = shown;
        for (; span < count && m_spans[size_t(span)].origin < 0; ++span)
            shownEnd = spanEnd(span);
        const int next = span < count ? m_spans[size_t(span)].origin : fileEnd;
        map.append({file, next - file, shown, shownEnd - shown});
        file = next;
    }
    map.append({file, fileEnd - file, m_text.size(), 0});
    return map;
}
