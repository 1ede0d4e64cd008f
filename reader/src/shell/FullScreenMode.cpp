#include "FullScreenMode.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QTextEdit>

FullScreenMode::FullScreenMode(QMainWindow *window, QTextEdit *text, const QList<QWidget *> &parts)
    : QObject(window), m_window(window), m_textWidget(text), m_parts(parts)
{
}

bool FullScreenMode::isOn() const
{
    return m_window->isFullScreen();
}

void FullScreenMode::set(bool on)
{
    if (on == isOn())
        return;
    if (on) {
        m_stateBefore = m_window->saveState();
        hideParts();
        m_textWidget->setFrameShape(QFrame::NoFrame);
        m_textWidget->setFocus();
    } else {
        showParts();
        m_textWidget->setFrameShape(QFrame::StyledPanel);
    }
    m_window->setWindowState(m_window->windowState() ^ Qt::WindowFullScreen);
    emit switched(on);
}

QByteArray FullScreenMode::windowState() const
{
    return isOn() ? m_stateBefore : m_window->saveState();
}

// Only what shows goes, so that only that comes back.
void FullScreenMode::hideParts()
{
    QList<QWidget *> parts = m_parts;
    for (QDockWidget *dock : m_window->findChildren<QDockWidget *>())
        parts << dock;
    for (QWidget *part : qAsConst(parts)) {
        if (!part->isHidden()) {
            m_hidden << part;
            part->hide();
        }
    }
}

void FullScreenMode::showParts()
{
    for (const QPointer<QWidget> &part : qAsConst(m_hidden)) {
        if (part)
            part->show();
    }
    m_hidden.clear();
}
