#include "ReadingLayout.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QTimerEvent>

#include <cmath>

namespace
{

// Laid out at once when the text changes, so that the first pages are there
// when the change returns: a few pages even at 9 points, about 10 ms.
const int SynchronousCharacters = 30000;
// Longest stretch of background layout in one pass of the event loop.
const int SliceMilliseconds = 20;

} // namespace

void ReadingLayout::documentChanged(int from, int, int)
{
    const int first = document()->findBlock(from).blockNumber();
    if (first >= 0 && first < m_tops.size()) {
        // Lines left from before would be taken for a current layout.
        QTextBlock block = document()->findBlockByNumber(first);
        for (int i = first; i < m_tops.size() && block.isValid(); ++i, block = block.next())
            block.clearLayout();
        m_bottom = m_tops.at(first);
        m_tops.resize(first);
    }
    if (m_tops.isEmpty())
        m_bottom = document()->documentMargin();
    m_next = document()->findBlockByNumber(m_tops.size());
    if (canLayOut()) {
        const int until = m_next.position() + SynchronousCharacters;
        while (!laidOutToTheEnd() && m_next.position() < until)
            layOutNextBlock();
    }
    // A moment's delay lets the view paint the first pages before the
    // background work starts.
    continueLater(10);
    const QSizeF size = documentSize();
    if (size != m_reportedSize) {
        m_reportedSize = size;
        emit documentSizeChanged(size);
    }
    emit update();
}

void ReadingLayout::continueLater(int milliseconds)
{
    if (canLayOut() && !laidOutToTheEnd())
        m_timer.start(milliseconds, this);
    else
        m_timer.stop();
}

void ReadingLayout::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QAbstractTextDocumentLayout::timerEvent(event);
    QElapsedTimer clock;
    clock.start();
    const qreal from = m_bottom;
    while (!laidOutToTheEnd() && canLayOut() && clock.elapsed() < SliceMilliseconds) {
        for (int i = 0; i < 32 && !laidOutToTheEnd(); ++i)
            layOutNextBlock();
    }
    continueLater(0);
    m_reportedSize = documentSize();
    emit documentSizeChanged(m_reportedSize);
    emit update(QRectF(0, from, 1e9, m_bottom - from));
}

// Line breaking and line heights exactly as QTextDocumentLayout does them
// for a plain paragraph, so the text looks the same.
void ReadingLayout::layOutNextBlock() const
{
    const QTextBlock block = m_next;
    m_next = block.next();
    QTextLayout *layout = block.layout();
    const qreal margin = document()->documentMargin();
    const qreal width = qMax<qreal>(0, document()->pageSize().width() - 2 * margin);

    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(block.textDirection());
    option.setAlignment(QStyle::visualAlignment(block.textDirection(), option.alignment()));
    layout->setTextOption(option);

    qreal y = 0;
    qreal bottom = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        bottom = y + line.height();
        y += std::ceil(line.ascent() + line.descent() + line.leading());
    }
    layout->endLayout();
    layout->setPosition(QPointF(margin, m_bottom));
    m_tops.append(m_bottom);
    m_bottom += qMax(y, bottom);
}

void ReadingLayout::layOutThrough(int blockNumber) const
{
    while (canLayOut() && m_tops.size() <= blockNumber && !laidOutToTheEnd())
        layOutNextBlock();
}

void ReadingLayout::layOutDownTo(qreal y) const
{
    while (canLayOut() && m_bottom <= y && !laidOutToTheEnd())
        layOutNextBlock();
}

int ReadingLayout::blockAt(qreal y) const
{
    const auto after = std::upper_bound(m_tops.cbegin(), m_tops.cend(), y);
    return qMax(0, int(after - m_tops.cbegin()) - 1);
}

QSizeF ReadingLayout::documentSize() const
{
    if (!canLayOut())
        return QSizeF();
    return QSizeF(document()->pageSize().width(), m_bottom + document()->documentMargin());
}

QRectF ReadingLayout::frameBoundingRect(QTextFrame *frame) const
{
    if (frame != document()->rootFrame())
        return QRectF();
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF ReadingLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!block.isValid() || !canLayOut())
        return QRectF();
    const int number = block.blockNumber();
    layOutThrough(number);
    if (number >= m_tops.size())
        return QRectF();
    const qreal bottom = number + 1 < m_tops.size() ? m_tops.at(number + 1) : m_bottom;
    return QRectF(document()->documentMargin(), m_tops.at(number),
                  document()->pageSize().width() - 2 * document()->documentMargin(),
                  bottom - m_tops.at(number));
}

int ReadingLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    if (!canLayOut())
        return -1;
    layOutDownTo(point.y());
    const bool fuzzy = accuracy == Qt::FuzzyHit;
    if (m_tops.isEmpty() || point.y() < m_tops.first())
        return fuzzy ? 0 : -1;
    if (point.y() >= m_bottom)
        return fuzzy ? document()->characterCount() - 1 : -1;

    const int number = blockAt(point.y());
    const QTextBlock block = document()->findBlockByNumber(number);
    const QTextLayout *layout = block.layout();
    const QPointF local = point - QPointF(document()->documentMargin(), m_tops.at(number));
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (local.y() >= line.y() + line.height() && i + 1 < layout->lineCount())
            continue;
        if (!fuzzy && (local.x() < line.x() || local.x() > line.x() + line.naturalTextWidth()))
            return -1;
        return block.position() + line.xToCursor(local.x());
    }
    return fuzzy ? block.position() : -1;
}

QVector<QTextLayout::FormatRange> ReadingLayout::selectionsIn(const QTextBlock &block,
                                                              const PaintContext &context) const
{
    QVector<QTextLayout::FormatRange> ranges;
    for (const Selection &selection : context.selections) {
        const int start = qMax(selection.cursor.selectionStart() - block.position(), 0);
        const int end = qMin(selection.cursor.selectionEnd() - block.position(), block.length());
        if (start < end) {
            QTextLayout::FormatRange range;
            range.start = start;
            range.length = end - start;
            range.format = selection.format;
            ranges.append(range);
        }
    }
    return ranges;
}

// Each block is drawn with the painter moved to the block, so the positions
// the text engine sees stay small however deep the block lies.
void ReadingLayout::draw(QPainter *painter, const PaintContext &context)
{
    if (!canLayOut())
        return;
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, 1e9, 1e9 + m_bottom);
    layOutDownTo(clip.bottom());
    QTextBlock block = document()->findBlockByNumber(blockAt(clip.top()));
    for (; block.isValid() && block.blockNumber() < m_tops.size(); block = block.next()) {
        const qreal top = m_tops.at(block.blockNumber());
        if (top > clip.bottom())
            break;
        const QPointF shift(0, -top);
        painter->save();
        painter->translate(0, top);
        painter->setPen(context.palette.color(QPalette::Text));
        block.layout()->draw(painter, shift, selectionsIn(block, context), clip.translated(shift));
        const int cursor = context.cursorPosition - block.position();
        if (cursor >= 0 && cursor < block.length())
            block.layout()->drawCursor(painter, shift, cursor);
        painter->restore();
    }
}
