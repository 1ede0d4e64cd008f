#ifndef WINDOWKEYS_H
#define WINDOWKEYS_H

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>

class QShortcut;
class QWidget;

// How the window's keys work: each is a shortcut of the window, so that it
// works wherever the focus is but not while a dialog is open; and keys typed
// into a text field belong to the field, whatever shortcut of the window (or
// of a panel docked on it) they would trigger, except the keys for finding.
class WindowKeys : public QObject
{
    Q_OBJECT

public:
    // window: where the shortcuts live, and the parent of this object.
    explicit WindowKeys(QWidget *window);

    QShortcut *add(const QKeySequence &key, const std::function<void()> &action);
    // A key that works in text fields too.
    QShortcut *addFindKey(const QKeySequence &key, const std::function<void()> &action);
    // The text fields and spin boxes the window holds now keep their keys.
    void guardTextFields();
    // "tip (key)", in the key's native text.
    static void setTip(QWidget *widget, const QString &tip, const QKeySequence &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window; // the owner
    QList<QKeySequence> m_findKeys;
};

#endif // WINDOWKEYS_H
