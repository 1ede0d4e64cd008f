#ifndef READINGSESSION_H
#define READINGSESSION_H

#include <QObject>

class ComfortPanel;
class QMainWindow;
class QTextEdit;
class QVBoxLayout;
class QWidget;
class ReadingPositions;
class ReadingState;
class TextDisplay;
struct ComfortSettings;

// What the reader keeps of a session for the next one, in ReadingState.xml
// beside the settings: where each file was being read, the comfort settings
// of the 显示 page's panel, and the window's size, place and docks.
class ReadingSession : public QObject
{
    Q_OBJECT

public:
    // window: the parent, whose geometry and docks are kept; panelPlace:
    // the empty widget of the 显示 page that gets the comfort panel.
    ReadingSession(QMainWindow *window, TextDisplay *display, QTextEdit *text, QWidget *panelPlace);

    ReadingState *state() const { return m_state; }
    ComfortPanel *comfortPanel() const { return m_comfortPanel; }
    // Another row of the 显示 page, below those there; the page owns it.
    void addPanel(QWidget *panel);

    // Once the docks and toolbars exist, so that the stored layout finds them.
    void restore();
    // windowState: QMainWindow::saveState() as the window keeps it.
    void save(const QByteArray &windowState);

private:
    void comfortChange(const ComfortSettings &comfort);

    QMainWindow *m_window;         // the owner
    TextDisplay *m_textDisplay;    // not owned
    ReadingState *m_state;         // child
    ReadingPositions *m_positions; // child
    ComfortPanel *m_comfortPanel;  // in panelPlace
    QVBoxLayout *m_panels;         // panelPlace's
};

#endif // READINGSESSION_H
