#ifndef TEXTCLEANUPPANEL_H
#define TEXTCLEANUPPANEL_H

#include <QWidget>

class QCheckBox;
class QPushButton;

// The row of the 显示 page for the text as the reader wants it: paragraphs
// tidied for the book on screen and for books read the first time, and the
// button to the cleaning rules.
class TextCleanupPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TextCleanupPanel(QWidget *parent = nullptr);

    // Shows the choices without announcing a change.
    void showChoices(bool tidyBook, bool tidyByDefault, bool hasBook);

signals:
    void tidyBookChanged(bool on);
    void tidyByDefaultChanged(bool on);
    void rulesRequested();

private:
    QCheckBox *m_cbTidyBook;
    QCheckBox *m_cbTidyDefault;
    QPushButton *m_btnRules;
};

#endif // TEXTCLEANUPPANEL_H
