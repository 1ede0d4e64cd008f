#ifndef LOADPROGRESSBAR_H
#define LOADPROGRESSBAR_H

#include <QProgressBar>

class QAbstractScrollArea;

// "正在载入 n%", slim, in the lower corner of the text and only while a long
// text is still arriving; it floats over the view, its parent, and follows
// the corner as the window is resized.
class LoadProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit LoadProgressBar(QAbstractScrollArea *view);

    void showProgress(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QAbstractScrollArea *m_view; // the parent
};

#endif // LOADPROGRESSBAR_H
