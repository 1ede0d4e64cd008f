#ifndef PROGRESSOVERLAY_H
#define PROGRESSOVERLAY_H

#include <QLabel>

class QAbstractScrollArea;

// The progress at the foot of the text in full screen, faint in the text's
// colour so that it is there when looked for and not otherwise. It takes a
// strip of its own below the viewport rather than floating over the last
// line, so that a page turn, which measures the viewport, still shows every
// line whole. It lives on the view, its parent, and follows the view's size.
class ProgressOverlay : public QLabel
{
    Q_OBJECT

public:
    explicit ProgressOverlay(QAbstractScrollArea *view);

    void setColors(const QColor &text, const QColor &back);
    // Shown, with its strip, only while the window is full screen.
    void followFullScreen(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void setStrip(int height);

    QAbstractScrollArea *m_view; // the parent
};

#endif // PROGRESSOVERLAY_H
