#ifndef FULLSCREENMODE_H
#define FULLSCREENMODE_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class QMainWindow;
class QTextEdit;
class QWidget;

// Full screen with nothing but the text: the window's other parts and its
// docks go, and the view loses its frame; when it ends they come back as
// they were. Automatic scrolling keeps going.
class FullScreenMode : public QObject
{
    Q_OBJECT

public:
    // parts: what goes besides the docks. The window is the parent.
    FullScreenMode(QMainWindow *window, QTextEdit *text, const QList<QWidget *> &parts);

    bool isOn() const;
    void set(bool on);
    void toggle() { set(!isOn()); }
    // The docks as the window had them: in full screen, as they were before
    // it, which is what the window keeps for the next start.
    QByteArray windowState() const;

signals:
    void switched(bool on);

private:
    void hideParts();
    void showParts();

    QMainWindow *m_window;   // the owner
    QTextEdit *m_textWidget; // not owned
    QList<QWidget *> m_parts;
    QList<QPointer<QWidget>> m_hidden; // what full screen hid
    QByteArray m_stateBefore;
};

#endif // FULLSCREENMODE_H
