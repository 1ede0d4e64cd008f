#include "AutoScrollControl.h"

#include <QComboBox>
#include <QSpinBox>

#include <algorithm>

namespace
{
const int Stopped = 0;
const int PageWise = 2;
} // namespace

AutoScrollControl::AutoScrollControl(QComboBox *kind, QSpinBox *screenInterval,
                                     QSpinBox *pageInterval, QObject *parent)
    : QObject(parent), m_kind(kind), m_screenInterval(screenInterval), m_pageInterval(pageInterval)
{
}

void AutoScrollControl::toggle()
{
    const int kind = m_kind->currentIndex();
    if (kind == Stopped) {
        m_kind->setCurrentIndex(m_pausedKind);
        return;
    }
    m_pausedKind = kind;
    m_kind->setCurrentIndex(Stopped);
}

// A speed key while the scroll stands starts it: the reader asked for motion.
void AutoScrollControl::changeSpeed(bool faster)
{
    if (m_kind->currentIndex() == Stopped) {
        toggle();
        return;
    }
    QSpinBox *box = m_kind->currentIndex() == PageWise ? m_pageInterval : m_screenInterval;
    box->setValue(
        steppedInterval(box->value(), faster, std::max(1, box->minimum()), box->maximum()));
}

int AutoScrollControl::steppedInterval(int interval, bool faster, int minimum, int maximum)
{
    const int step = std::max(1, interval / 5);
    const int next = faster ? interval - step : interval + step;
    return std::clamp(next, minimum, maximum);
}
