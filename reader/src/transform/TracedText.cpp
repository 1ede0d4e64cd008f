#include "TracedText.h"

#include <algorithm>

TracedText::TracedText(QString text, int fileStart)
    : m_text(std::move(text)), m_fileStart(fileStart)
{
}

void TracedText::trace()
{
    if (!m_origins.isEmpty() || m_text.isEmpty())
        return;
    m_origins.resize(m_text.size());
    for (int i = 0; i < m_origins.size(); ++i)
        m_origins[i] = m_fileStart + i;
}

void TracedText::replace(int position, int length, const QString &replacement)
{
    apply({{position, length, replacement}});
}

// Written into the buffers of the text before last, so that the rules of a
// piece, one after the other, do not each allocate and fault in megabytes.
void TracedText::apply(const QVector<Edit> &edits)
{
    if (edits.isEmpty())
        return;
    trace();
    int size = m_text.size();
    for (const Edit &edit : edits)
        size += edit.replacement.size() - edit.length;
    m_spareText.resize(size);
    m_spareOrigins.resize(size);
    QChar *text = m_spareText.data();
    int *origins = m_spareOrigins.data();
    int from = 0;
    const auto keep = [&](int count) {
        text = std::copy_n(m_text.constData() + from, count, text);
        origins = std::copy_n(m_origins.constData() + from, count, origins);
    };
    for (const Edit &edit : edits) {
        keep(edit.position - from);
        text = std::copy_n(edit.replacement.constData(), edit.replacement.size(), text);
        origins = std::fill_n(origins, edit.replacement.size(), -1);
        from = edit.position + edit.length;
    }
    keep(m_text.size() - from);
    std::swap(m_text, m_spareText);
    std::swap(m_origins, m_spareOrigins);
}

TracedText TracedText::split(int position, int fileEnd)
{
    if (m_origins.isEmpty()) {
        TracedText tail(m_text.mid(position), m_fileStart + position);
        m_text.truncate(position);
        return tail;
    }
    TracedText tail(m_text.mid(position), fileEnd);
    tail.m_origins = m_origins.mid(position);
    for (const int origin : qAsConst(tail.m_origins)) {
        if (origin >= 0) {
            tail.m_fileStart = origin;
            break;
        }
    }
    m_text.truncate(position);
    m_origins.resize(position);
    return tail;
}

void TracedText::append(const TracedText &other)
{
    if (m_text.isEmpty() && m_origins.isEmpty()) {
        m_fileStart = other.m_fileStart;
        m_text = other.m_text;
        m_origins = other.m_origins;
        return;
    }
    if (m_origins.isEmpty() && other.m_origins.isEmpty() &&
        other.m_fileStart == m_fileStart + m_text.size()) {
        m_text += other.m_text;
        return;
    }
    trace();
    TracedText traced = other;
    traced.trace();
    m_text += traced.m_text;
    m_origins += traced.m_origins;
}

PositionMap TracedText::changes(int fileEnd) const
{
    PositionMap map;
    if (m_origins.isEmpty()) {
        // untouched; anything of the stretch beyond the text was removed
        const int kept = m_fileStart + m_text.size();
        map.append({kept, fileEnd - kept, m_text.size(), 0});
        return map;
    }
    int file = m_fileStart;
    for (int i = 0; i < m_origins.size();) {
        if (m_origins.at(i) == file) {
            ++i;
            ++file;
            continue;
        }
        const int shown = i;
        while (i < m_origins.size() && m_origins.at(i) < 0)
            ++i;
        const int next = i < m_origins.size() ? m_origins.at(i) : fileEnd;
        map.append({file, next - file, shown, i - shown});
        file = next;
    }
    map.append({file, fileEnd - file, m_origins.size(), 0});
    return map;
}
