#include "LoadProgressBar.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace
{
// Clear of the view's frame and of the scroll bar's end.
const int Margin = 4;
} // namespace

LoadProgressBar::LoadProgressBar(QAbstractScrollArea *view) : QProgressBar(view), m_view(view)
{
    setObjectName(QStringLiteral("pbLoad"));
    setFormat(tr("正在载入 %p%"));
    // The viewport, not the view: the view hears of its new size before it
    // has placed the viewport in it.
    view->viewport()->installEventFilter(this);
    hide();
}

void LoadProgressBar::showProgress(int percent)
{
    setValue(percent);
    place();
    setVisible(percent < 100);
}

// Inside the viewport's lower right corner, wherever the view's frame and
// scroll bar put it.
void LoadProgressBar::place()
{
    const QRect viewport = m_view->viewport()->geometry();
    // Sized for its text in the interface font of now; a fixed size cut
    // the text of a large font off at the window's lower edge.
    const int textWidth = fontMetrics().horizontalAdvance(format().replace("%p", "100"));
    resize(textWidth + 2 * fontMetrics().height(), sizeHint().height());
    move(viewport.right() + 1 - width() - Margin, viewport.bottom() + 1 - height() - Margin);
    raise();
}

bool LoadProgressBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        place();
    return QProgressBar::eventFilter(watched, event);
}
