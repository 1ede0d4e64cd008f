#ifndef SCRIPTPANEL_H
#define SCRIPTPANEL_H

#include "TransformOptions.h"

#include <QWidget>

class QActionGroup;
class QComboBox;
class QMenu;
class QToolButton;

// Where the reader chooses the script the text is shown in: a row of the
// 显示 page, for the book on screen and for books read the first time, and
// a button beside the encoding with the book's choice in its menu.
class ScriptPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ScriptPanel(QWidget *parent = nullptr);
    ~ScriptPanel() override;

    // The button, in place (an empty widget, which gets a layout for it).
    void placeButton(QWidget *place);
    // Shows the choices without announcing a change.
    void showChoices(Script book, Script byDefault, bool hasBook);

signals:
    void bookScriptChanged(Script script);
    void defaultScriptChanged(Script script);
    // The choices are in view: one may be made soon.
    void choicesShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *newScriptBox(const QString &name);
    void createMenu();

    QComboBox *m_cbbBook;
    QComboBox *m_cbbDefault;
    QMenu *m_menu; // made without a parent, deleted with the panel
    QActionGroup *m_bookActions;
    QToolButton *m_button = nullptr; // a child of its place, once placed
};

#endif // SCRIPTPANEL_H
