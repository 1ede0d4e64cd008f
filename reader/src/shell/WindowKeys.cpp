#include "WindowKeys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

WindowKeys::WindowKeys(QWidget *window) : QObject(window), m_window(window) {}

QShortcut *WindowKeys::add(const QKeySequence &key, const std::function<void()> &action)
{
    auto *shortcut = new QShortcut(key, m_window);
    // Also where a window system leaves the window active behind a dialog.
    connect(shortcut, &QShortcut::activated, this, [action] {
        if (QApplication::activeModalWidget() == nullptr)
            action();
    });
    return shortcut;
}

QShortcut *WindowKeys::addFindKey(const QKeySequence &key, const std::function<void()> &action)
{
    m_findKeys << key;
    return add(key, action);
}

void WindowKeys::guardTextFields()
{
    for (QWidget *field : m_window->findChildren<QLineEdit *>())
        field->installEventFilter(this);
    for (QWidget *field : m_window->findChildren<QAbstractSpinBox *>())
        field->installEventFilter(this);
}

void WindowKeys::setTip(QWidget *widget, const QString &tip, const QKeySequence &key)
{
    widget->setToolTip(tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                       QLatin1Char(')'));
}

// A field that claims a key keeps the shortcut from firing.
bool WindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!m_findKeys.contains(QKeySequence(int(key->modifiers()) | key->key()))) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
