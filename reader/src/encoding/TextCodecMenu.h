#ifndef TEXTCODECMENU_H
#define TEXTCODECMENU_H

#include "OpenRequest.h"

#include <QObject>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class TextDisplay;

// The menu of the encoding button: re-reads the file on screen from disk in
// the encoding chosen, at the same reading position. Its checked entry and
// the label beside the button show the encoding of the text on screen,
// detected or chosen; the next file opened is detected afresh.
class TextCodecMenu : public QObject
{
    Q_OBJECT

public:
    explicit TextCodecMenu(QObject *parent = nullptr);
    ~TextCodecMenu() override;

    void setTextDisplay(TextDisplay *display);
    void setCodecLabel(QLabel *label);
    QMenu *menu() const { return m_menu; }

signals:
    // The file on screen, to be read again in the encoding chosen.
    void openRequested(const OpenRequest &request);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void menuClick();

private:
    void createActions();
    QAction *addCodecAction(const QString &text, int codec);
    void showCodec(int codec);
    QAction *actionFor(int codec) const;
    void fitCodecLabel();

    QAction *m_ansiAction = nullptr;      // owned by m_menu
    QAction *m_utf8Action = nullptr;      // owned by m_menu
    QActionGroup *m_codecGroup = nullptr; // every entry; owned by m_menu
    TextDisplay *m_textDisplay = nullptr; // not owned
    QLabel *m_codecLabel = nullptr;       // not owned
    QMenu *m_menu;                        // no parent, since a button shows it; deleted here
};

#endif // TEXTCODECMENU_H
