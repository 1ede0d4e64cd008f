#include "ProgressOverlay.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace
{
// Of 255: readable on any of the presets' backgrounds, yet well behind the text.
const int Faintness = 120;

// The view's margins around its viewport are its own to set; the strip is
// the one margin the reader sets, and only in full screen.
struct ViewMargins : QAbstractScrollArea {
    static void set(QAbstractScrollArea *view, int bottom)
    {
        void (QAbstractScrollArea::*setMargins)(int, int, int, int) =
            &ViewMargins::setViewportMargins;
        (view->*setMargins)(0, 0, 0, bottom);
    }
};
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
    // The viewport, not the view: the view hears of its new size before it
    // has placed the viewport in it.
    view->viewport()->installEventFilter(this);
    hide();
}

// The strip wears the page's colour, so that it reads as the page's foot.
void ProgressOverlay::setColors(const QColor &text, const QColor &back)
{
    QColor faint(text);
    faint.setAlpha(Faintness);
    setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QLabel { color: %1; background: %2; }")
                      .arg(faint.name(QColor::HexArgb), back.name()));
}

void ProgressOverlay::followFullScreen(bool on)
{
    setStrip(on ? fontMetrics().height() + 6 : 0);
    setVisible(on);
    place();
}

void ProgressOverlay::setStrip(int height)
{
    ViewMargins::set(m_view, height);
    resize(width(), height);
}

// Below the viewport, across its width.
void ProgressOverlay::place()
{
    const QRect viewport = m_view->viewport()->geometry();
    setGeometry(viewport.left(), viewport.bottom() + 1, viewport.width(), height());
    raise();
}

bool ProgressOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}
