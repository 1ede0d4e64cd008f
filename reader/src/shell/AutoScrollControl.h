#ifndef AUTOSCROLLCONTROL_H
#define AUTOSCROLLCONTROL_H

#include <QObject>

class QComboBox;
class QSpinBox;

// The keys of the automatic scroll, working through the form's own
// controls, so that what the keys do is what the form shows and the form's
// handlers stay the one place that scrolls and saves: a pause stops the
// scroll and remembers its kind, a start brings that kind back (or the
// smooth scroll); faster and slower change the interval of the kind that
// runs.
class AutoScrollControl : public QObject
{
    Q_OBJECT

public:
    // kind: 停止滚动, 自动滚屏, 自动翻页 in that order; screenInterval in
    // milliseconds per pixel, pageInterval in seconds per page. None owned.
    AutoScrollControl(QComboBox *kind, QSpinBox *screenInterval, QSpinBox *pageInterval,
                      QObject *parent);

    void toggle();
    void faster() { changeSpeed(true); }
    void slower() { changeSpeed(false); }

    // The interval one step faster or slower: a fifth of it, at least one
    // unit, so that steps feel alike at any speed; within minimum and
    // maximum.
    static int steppedInterval(int interval, bool faster, int minimum, int maximum);

private:
    void changeSpeed(bool faster);

    QComboBox *m_kind;
    QSpinBox *m_screenInterval;
    QSpinBox *m_pageInterval;
    int m_pausedKind = 1; // what a start brings back
};

#endif // AUTOSCROLLCONTROL_H
