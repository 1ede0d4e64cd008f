#ifndef TEXTEDIT_H
#define TEXTEDIT_H

#include <QObject>
#include <QString>
#include <QTextDocument>

class QLabel;
class QLineEdit;
class QTextEdit;
class TextDisplay;

// Runs the two find buttons and Enter in the find box: searches the reading
// view for the text of the find box from the cursor on, without wrapping
// round at either end, and says beside the box when nothing was found.
class TextEdit : public QObject
{
    Q_OBJECT

public:
    explicit TextEdit(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setFindEdit(QLineEdit *edit);
    // Shows matches in the top third of the view.
    void setTextDisplay(TextDisplay *display);
    // Where a search without a match says so.
    void setResultLabel(QLabel *label);

public slots:
    void findFront(); // backwards, letter case ignored
    void findNext();  // forwards, letter case must match

private:
    void find(QTextDocument::FindFlags flags);
    bool waitForText(QTextDocument::FindFlags flags);
    QString noMatchText(const QTextCursor &from, QTextDocument::FindFlags flags) const;
    void showResult(const QString &text);
    void prepareScripts();

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    QLineEdit *m_findEdit = nullptr;   // the find box, not owned

    TextDisplay *m_textDisplay = nullptr;  // shows the matches, not owned
    QLabel *m_resultLabel = nullptr;       // beside the find box, not owned
    QMetaObject::Connection m_waitForText; // a forward search waiting for the rest of the text
    bool m_scriptsPrepared = false;
};

#endif // TEXTEDIT_H
