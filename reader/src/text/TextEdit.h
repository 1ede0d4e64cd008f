#ifndef TEXTEDIT_H
#define TEXTEDIT_H

#include <QObject>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <memory>

class QLabel;
class QLineEdit;
class QTextEdit;
class SlicedFind;
class TextDisplay;

// Runs the two find buttons: searches the reading view for the text of the
// find box from the cursor on, without wrapping round at either end, and
// says beside the box when nothing was found. A long text is read a stretch
// per pass of the event loop, so the window answers while it searches.
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

public slots:
    void findFront(); // backwards, letter case ignored
    void findNext();  // forwards, letter case must match

private:
    void find(QTextDocument::FindFlags flags);
    void findOn();
    void lookBack();
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
    std::unique_ptr<SlicedFind> m_finding;
    QTextDocument::FindFlags m_flags;
    QTextCursor m_from;
    bool m_lookingBack = false; // after a miss: is the word behind the start?
    QTimer m_nextSlice;
    bool m_scriptsPrepared = false;
};

#endif // TEXTEDIT_H
