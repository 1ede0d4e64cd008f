#include "ShownText.h"

#include "WorkerPool.h"

ShownText::ShownText(QObject *parent) : QObject(parent) {}

int ShownText::documentLength(const QString &text, int index)
{
    int pairs = 0;
    for (int i = text.indexOf(QLatin1Char('\r')); i >= 0 && i + 1 < index;
         i = text.indexOf(QLatin1Char('\r'), i + 1)) {
        if (text.at(i + 1) == QLatin1Char('\n'))
            ++pairs;
    }
    return index - pairs;
}

void ShownText::begin(const QString &start)
{
    WorkerPool::release(std::exchange(m_text, TextPieces()));
    m_length = 0;
    emit begun();
    append(start);
}

void ShownText::append(const QString &piece)
{
    if (piece.isEmpty())
        return;
    m_text.pieces.append(piece);
    m_text.starts.append(m_length);
    m_length += documentLength(piece, piece.size());
    emit grew();
}

void ShownText::finish()
{
    m_text.complete = true;
    emit grew();
}
