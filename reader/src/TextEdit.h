#ifndef TEXTEDIT_H
#define TEXTEDIT_H

#include <QObject>
#include <QTextDocument>

class QLineEdit;
class QTextEdit;

// Runs the two find buttons: searches the reading view for the text of the
// find box from the cursor on, without wrapping round at either end.
class TextEdit : public QObject
{
    Q_OBJECT

public:
    explicit TextEdit(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setFindEdit(QLineEdit *edit);

public slots:
    void findFront(); // backwards, letter case ignored
    void findNext();  // forwards, letter case must match

private:
    void find(QTextDocument::FindFlags flags);

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    QLineEdit *m_findEdit = nullptr;   // the find box, not owned
};

#endif // TEXTEDIT_H
