#include "LoadProgressBar.h"

#include <QAbstractScrollArea>

LoadProgressBar::LoadProgressBar(QAbstractScrollArea *view) : QProgressBar(view), m_view(view)
{
    setObjectName(QStringLiteral("pbLoad"));
    setFixedSize(180, 16);
    setFormat(tr("正在载入 %p%"));
    hide();
}

void LoadProgressBar::showProgress(int percent)
{
    setValue(percent);
    const QWidget *viewport = m_view->viewport();
    const QPoint corner = viewport->mapTo(m_view, viewport->rect().bottomRight());
    move(corner - QPoint(width(), height()));
    setVisible(percent < 100);
}
