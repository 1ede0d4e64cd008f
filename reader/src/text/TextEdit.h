#ifndef TEXTEDIT_H
#define TEXTEDIT_H

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

class QLabel;
class QLineEdit;
class QTextEdit;
class TextDisplay;

// Runs the two find buttons: searches the reading view for the text of the
// find box from the cursor on, without wrapping round at either end, and
// says beside the box when nothing was found. The search reads the display's
// copy of the text on the worker pool, so the window answers while it
// searches a text of any length.
class TextEdit : public QObject
{
    Q_OBJECT

public:
    explicit TextEdit(QObject *parent = nullptr);
    ~TextEdit() override;

    void setTextWidget(QTextEdit *edit);
    void setFindEdit(QLineEdit *edit);
    // Shows matches in the top third of the view.
    void setTextDisplay(TextDisplay *display);
    // Where a search without a match says so.
    void setResultLabel(QLabel *label);
    // A search runs (or waits for the rest of the text).
    bool isFinding() const { return m_search != 0 || m_waitForText; }

public slots:
    void findFront(); // backwards, letter case ignored
    void findNext();  // forwards, letter case must match

private:
    void find(QTextDocument::FindFlags flags);
    void search(bool backward);
    void searched();
    void lookBack();
    void findQueued();
    void stopFinding();
    bool waitForText(QTextDocument::FindFlags flags);
    void prepareScripts();
    QString noMatchText(bool foundBehind) const;
    void showResult(const QString &text);

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    QLineEdit *m_findEdit = nullptr;   // the find box, not owned

    TextDisplay *m_textDisplay = nullptr;  // shows the matches, not owned
    QLabel *m_resultLabel = nullptr;       // beside the find box, not owned
    QMetaObject::Connection m_waitForText; // a forward search waiting for the rest of the text

    // The find in progress, if any, and what it began from.
    // Which search it was, and the match's position or -1.
    QFutureWatcher<std::pair<int, int>> m_finding;
    int m_search = 0;         // the search awaited; 0 none, so that a stopped one is ignored
    QString m_word;           // in the view's script
    int m_searchedLength = 0; // of the text the search was given
    QTextDocument::FindFlags m_flags;
    QTextCursor m_from;
    bool m_lookingBack = false;               // after a miss: is the word behind the start?
    QList<QTextDocument::FindFlags> m_queued; // presses during the search, in order
    bool m_scriptsPrepared = false;
};

#endif // TEXTEDIT_H
