#ifndef TEXTCODECMENU_H
#define TEXTCODECMENU_H

#include <QObject>

class QAction;
class QMenu;
class TextDisplay;

// The menu of the encoding button: re-reads the file on screen from disk,
// forced to the local code page or to UTF-8. It keeps no choice of its own;
// the next file opened is detected afresh.
class TextCodecMenu : public QObject
{
    Q_OBJECT

public:
    explicit TextCodecMenu(QObject *parent = nullptr);
    ~TextCodecMenu() override;

    void setTextDisplay(TextDisplay *display);
    QMenu *menu() const { return m_menu; }

private slots:
    void menuClick();

private:
    void createActions();

    QAction *m_ansiAction = nullptr;      // owned by m_menu
    QAction *m_utf8Action = nullptr;      // owned by m_menu
    TextDisplay *m_textDisplay = nullptr; // not owned
    QMenu *m_menu;                        // no parent, since a button shows it; deleted here
};

#endif // TEXTCODECMENU_H
