#include "TextScroll.h"

#include <QScrollBar>
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
    m_scrollBar->triggerAction(forward ? QAbstractSlider::SliderPageStepAdd
                                       : QAbstractSlider::SliderPageStepSub);
}
