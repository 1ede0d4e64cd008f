#include "TracedText.h"

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

void TracedText::apply(const QVector<Edit> &edits)
{
    if (edits.isEmpty())
        return;
    trace();
    QString text;
    QVector<int> origins;
    text.reserve(m_text.size());
    origins.reserve(m_origins.size());
    int from = 0;
    for (const Edit &edit : edits) {
        text.append(m_text.constData() + from, edit.position - from);
        origins.append(m_origins.mid(from, edit.position - from));
        text += edit.replacement;
        origins.insert(origins.size(), edit.replacement.size(), -1);
        from = edit.position + edit.length;
    }
    text.append(m_text.constData() + from, m_text.size() - from);
    origins.append(m_origins.mid(from));
    m_text = text;
    m_origins = origins;
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
