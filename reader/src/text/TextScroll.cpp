#include "TextScroll.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QtGlobal>

#include <cassert>
#include <climits>

TextScroll::TextScroll(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &TextScroll::timeout);
}

void TextScroll::setScrollBar(QScrollBar *bar)
{
    m_scrollBar = bar;
}

void TextScroll::setTextView(QTextEdit *view)
{
    m_view = view;
}

void TextScroll::setScrollType(int type, int interval)
{
    m_scrollType = type;
    switch (type) {
    case 0:
        m_timer->stop();
        break;
    case 1:
    case 2:
        // Restarting rather than only changing the interval gives the user a
        // full interval to read after every change of speed or mode.
        m_timer->stop();
        m_timer->start(interval);
        break;
    default:
        break;
    }
}

void TextScroll::timeout()
{
    switch (m_scrollType) {
    case 0:
        m_timer->stop();
        break;
    case 1:
        scrollStep(true, 1);
        break;
    case 2:
        scrollPage(true);
        break;
    default:
        break;
    }
}

// The value is read anew each time, so ticks carry on from wherever the user
// dragged or wheeled the view in between.
void TextScroll::scrollStep(bool forward, int step)
{
    assert(m_scrollBar != NULL);
    // Computed wide so that a large step saturates at the end of the range
    // instead of wrapping round to the other end.
    const qint64 target = qint64(m_scrollBar->value()) + (forward ? qint64(step) : -qint64(step));
    m_scrollBar->setValue(int(qBound(qint64(INT_MIN), target, qint64(INT_MAX))));
}

void TextScroll::scrollPage(bool forward)
{
    assert(m_scrollBar != NULL);
    if (m_view == nullptr) {
        m_scrollBar->triggerAction(forward ? QAbstractSlider::SliderPageStepAdd
                                           : QAbstractSlider::SliderPageStepSub);
        return;
    }
    const int top = m_scrollBar->value();
    const int height = m_view->viewport()->height();
    const QVector<PageTurn::Line> lines = linesAround(top, height);
    const int target =
        forward ? PageTurn::forward(lines, top, height) : PageTurn::back(lines, top, height);
    m_scrollBar->setValue(qBound(m_scrollBar->minimum(), target, m_scrollBar->maximum()));
}

// The lines of the blocks from a view above to a view below this one, in
// the document's pixels; asking for a block's rectangle lays it out.
QVector<PageTurn::Line> TextScroll::linesAround(int viewTop, int viewHeight) const
{
    QTextDocument *document = m_view->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const qreal from = qreal(viewTop) - viewHeight, to = qreal(viewTop) + 2.0 * viewHeight;
    const int first = layout->hitTest(QPointF(0, qMax<qreal>(0, from)), Qt::FuzzyHit);
    QVector<PageTurn::Line> lines;
    for (QTextBlock block = document->findBlock(qMax(0, first)); block.isValid();
         block = block.next()) {
        const qreal blockTop = layout->blockBoundingRect(block).top();
        if (blockTop > to)
            break;
        const QTextLayout *text = block.layout();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            lines.append({blockTop + line.y(), blockTop + line.y() + line.height()});
        }
    }
    return lines;
}
