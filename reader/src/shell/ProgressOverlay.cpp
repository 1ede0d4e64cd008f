#include "ProgressOverlay.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace
{
// Of 255: readable on any of the presets' backgrounds, yet well behind the text.
const int Faintness = 120;
} // namespace

ProgressOverlay::ProgressOverlay(QAbstractScrollArea *view) : QLabel(view), m_view(view)
{
    setObjectName(QStringLiteral("lblFullScreenProgress"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignCenter);
    QFont small(font());
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    view->installEventFilter(this);
    hide();
}

void ProgressOverlay::setTextColor(const QColor &color)
{
    QColor faint(color);
    faint.setAlpha(Faintness);
    setStyleSheet(QStringLiteral("QLabel { color: %1; background: transparent; }")
                      .arg(faint.name(QColor::HexArgb)));
}

void ProgressOverlay::followFullScreen(bool on)
{
    place();
    setVisible(on);
}

// Centred on the viewport's lower edge, clear of the last line's descenders.
void ProgressOverlay::place()
{
    const QRect viewport = m_view->viewport()->geometry();
    const int height = fontMetrics().height() + 4;
    setGeometry(viewport.left(), viewport.bottom() + 1 - height, viewport.width(), height);
    raise();
}

bool ProgressOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}
