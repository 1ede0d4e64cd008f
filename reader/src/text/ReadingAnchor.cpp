#include "ReadingAnchor.h"

#include "ReadingLayout.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <cassert>

ReadingAnchor::ReadingAnchor(QObject *parent) : QObject(parent) {}

void ReadingAnchor::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    QScrollBar *bar = edit->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &ReadingAnchor::viewMoved);
    connect(bar, &QScrollBar::rangeChanged, this, &ReadingAnchor::follow);
}

// The view has adjusted its range by the time documentSizeChanged arrives.
// A document on its way out says nothing more here.
void ReadingAnchor::setLayout(ReadingLayout *layout)
{
    if (m_layout)
        disconnect(m_layout, nullptr, this, nullptr);
    m_layout = layout;
    if (layout == nullptr)
        return;
    connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &ReadingAnchor::follow);
    layout->setTextHidden(m_heldPosition >= 0);
}

// The line at the top edge counts even when only its lower part shows: it
// is where the reader's eye is.
int ReadingAnchor::topPosition() const
{
    assert(m_textWidget != NULL);
    return m_textWidget->cursorForPosition(QPoint(0, 0)).position();
}

void ReadingAnchor::showPosition(int position, qreal fraction)
{
    assert(m_textWidget != NULL);
    dropHeldPosition();
    QTextDocument *document = m_textWidget->document();
    QTextCursor cursor(document);
    cursor.setPosition(qBound(0, position, document->characterCount() - 1));
    m_textWidget->setTextCursor(cursor);
    // The view only; held as the anchor, so the line stays put while the
    // layout replaces estimated heights above it and the scroll bar's range
    // catches up.
    holdAnchor(cursor.position(), -fraction * m_textWidget->viewport()->height());
    follow();
}

void ReadingAnchor::holdStart()
{
    holdAnchor(0, -m_textWidget->document()->documentMargin());
}

void ReadingAnchor::holdPosition(int position, qreal fraction)
{
    m_heldPosition = position;
    m_heldFraction = fraction;
    setTextHidden(true);
}

void ReadingAnchor::dropHeldPosition()
{
    if (m_heldPosition < 0)
        return;
    m_heldPosition = -1;
    setTextHidden(false);
}

void ReadingAnchor::moveViewWhile(const std::function<void()> &f)
{
    const bool moving = m_movingView;
    m_movingView = true;
    f();
    m_movingView = moving;
}

void ReadingAnchor::viewMoved()
{
    // Moves of this component's own keep the anchor they follow.
    if (!m_movingView)
        takeAnchor();
}

// Remembers the text at the top of the view, or that the view shows the end.
void ReadingAnchor::takeAnchor()
{
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    const int value = bar->value();
    // Finding the character lays out only the block it is in, so the text
    // shown at value stays the same.
    const int position = qMax(
        0, m_textWidget->document()->documentLayout()->hitTest(QPointF(0, value), Qt::FuzzyHit));
    holdAnchor(position, value - lineTop(position));
    m_anchorAtEnd = value > 0 && value >= bar->maximum();
}

void ReadingAnchor::holdAnchor(int position, qreal offset)
{
    m_anchorPosition = position;
    m_anchorOffset = offset;
    m_anchorAtEnd = false;
}

void ReadingAnchor::setTextHidden(bool hidden)
{
    if (m_layout)
        m_layout->setTextHidden(hidden);
}

// The top of the line that holds position, as the layout stands now; lays
// out its block, and a screen above it, if they are not yet.
qreal ReadingAnchor::lineTop(int position, qreal *height) const
{
    const QTextBlock block = m_textWidget->document()->findBlock(position);
    const QRectF rect = m_textWidget->document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.isValid()
                               ? block.layout()->lineForTextPosition(position - block.position())
                               : QTextLine();
    if (height != nullptr)
        *height = line.isValid() ? line.height() : rect.height();
    return rect.top() + (line.isValid() ? line.y() : 0);
}

void ReadingAnchor::follow()
{
    if (m_anchorPosition < 0)
        return takeAnchor();
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    if (m_anchorAtEnd)
        return moveView(bar->maximum());
    qreal height = 0;
    const qreal top = lineTop(m_anchorPosition, &height);
    // Within its line the top stays within it, however the line shrank.
    const qreal offset =
        m_anchorOffset < 0 ? m_anchorOffset : qMin(m_anchorOffset, qMax<qreal>(0, height - 1));
    moveView(qRound(top + offset));
}

// The scroll bar clamps the value; the anchor stays as it was, for when the
// range has grown far enough.
void ReadingAnchor::moveView(int value)
{
    QScrollBar *bar = m_textWidget->verticalScrollBar();
    value = qBound(bar->minimum(), value, bar->maximum());
    if (bar->value() == value)
        return;
    moveViewWhile([bar, value] { bar->setValue(value); });
}
