#ifndef TEXTSCROLL_H
#define TEXTSCROLL_H

#include <QObject>

class QScrollBar;
class QTimer;

// Moves the reading view by itself: one scroll-bar unit per tick (type 1)
// or one page per tick (type 2); type 0 is stopped.
class TextScroll : public QObject
{
    Q_OBJECT

public:
    explicit TextScroll(QObject *parent = nullptr);

    void setScrollBar(QScrollBar *bar);
    // interval in milliseconds; ignored for type 0
    void setScrollType(int type, int interval);

    void scrollStep(bool forward, int step);
    void scrollPage(bool forward);

private slots:
    void timeout();

private:
    QScrollBar *m_scrollBar = nullptr; // vertical bar of the reading view, not owned
    int m_scrollType = 0;
    QTimer *m_timer; // Qt child of this object
};

#endif // TEXTSCROLL_H
