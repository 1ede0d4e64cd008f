#ifndef PROGRESSOVERLAY_H
#define PROGRESSOVERLAY_H

#include <QLabel>

class QAbstractScrollArea;

// The progress at the lower edge of the text in full screen, faint in the
// text's colour so that it is there when looked for and not otherwise; it
// floats over the view, its parent, lets the mouse through to the text and
// follows the view's size.
class ProgressOverlay : public QLabel
{
    Q_OBJECT

public:
    explicit ProgressOverlay(QAbstractScrollArea *view);

    void setTextColor(const QColor &color);
    // Shown only while the window is full screen.
    void followFullScreen(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QAbstractScrollArea *m_view; // the parent
};

#endif // PROGRESSOVERLAY_H
