#ifndef TEXTSCROLL_H
#define TEXTSCROLL_H

#include "PageTurn.h"

#include <QObject>

class QScrollBar;
class QTextEdit;
class QTimer;

// Moves the reading view by itself: one scroll-bar unit per tick (type 1)
// or one page per tick (type 2); type 0 is stopped. A page is turned so that
// every line is seen whole once (see PageTurn), by the keys as by the ticks.
class TextScroll : public QObject
{
    Q_OBJECT

public:
    explicit TextScroll(QObject *parent = nullptr);

    void setScrollBar(QScrollBar *bar);
    // The view whose lines a page turn keeps whole; without one a page is
    // the scroll bar's page step.
    void setTextView(QTextEdit *view);
    // interval in milliseconds; ignored for type 0
    void setScrollType(int type, int interval);

    void scrollStep(bool forward, int step);
    void scrollPage(bool forward);

private slots:
    void timeout();

private:
    QVector<PageTurn::Line> linesAround(int viewTop, int viewHeight) const;

    QScrollBar *m_scrollBar = nullptr; // vertical bar of the reading view, not owned
    QTextEdit *m_view = nullptr;       // the reading view, not owned
    int m_scrollType = 0;
    QTimer *m_timer; // Qt child of this object
};

#endif // TEXTSCROLL_H
