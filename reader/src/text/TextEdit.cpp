#include "TextEdit.h"

#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "SlicedFind.h"
#include "TextDisplay.h"
#include "TextTuning.h"
#include "WorkerPool.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

#include <cassert>

TextEdit::TextEdit(QObject *parent) : QObject(parent)
{
    m_nextSlice.setSingleShot(true);
    m_nextSlice.setInterval(0);
    connect(&m_nextSlice, &QTimer::timeout, this, &TextEdit::findOn);
}

TextEdit::~TextEdit() = default;

void TextEdit::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

// An answer about the previous word would mislead once the word changes.
// Enter belongs to the search for every match.
void TextEdit::setFindEdit(QLineEdit *edit)
{
    m_findEdit = edit;
    connect(edit, &QLineEdit::textChanged, this, [this] {
        stopFinding();
        showResult(QString());
    });
    connect(edit, &QLineEdit::textEdited, this, &TextEdit::prepareScripts);
}

// A word is taken into the view's script, which for a view as the file has
// it is told from the text with four configurations: they are loaded on the
// pool while the word is typed, so that the search does not wait for them.
void TextEdit::prepareScripts()
{
    if (m_scriptsPrepared)
        return;
    m_scriptsPrepared = true;
    WorkerPool::run([] {
        QStringList names = ScriptChoice::configurationsOf(Script::Simplified);
        names << QStringLiteral("s2twp.json") << QStringLiteral("s2hk.json");
        for (const QString &name : qAsConst(names))
            ScriptConverter::forConfiguration(name);
    });
}

// A find in progress reads the document, which a new text replaces.
void TextEdit::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
    connect(display, &TextDisplay::textBegun, this, &TextEdit::stopFinding);
}

void TextEdit::setResultLabel(QLabel *label)
{
    m_resultLabel = label;
}

void TextEdit::findFront()
{
    find(QTextDocument::FindBackward);
}

void TextEdit::findNext()
{
    find(QTextDocument::FindCaseSensitively);
}

// A match is selected, with its line in the top third of the view; it is also
// where the next bookmark will point. No match moves nothing. The document
// is read a stretch per pass of the event loop; a short text is read at once.
void TextEdit::find(QTextDocument::FindFlags flags)
{
    assert(m_textWidget != NULL);
    assert(m_findEdit != NULL);
    assert(m_textDisplay != NULL);
    stopFinding();
    // A word typed in the other script finds what the view shows for it.
    const QString text = m_textDisplay->toShownScript(m_findEdit->text());
    if (text.isEmpty()) {
        showResult(QString());
        return;
    }
    m_flags = flags;
    m_from = m_textWidget->textCursor();
    const bool backward = flags.testFlag(QTextDocument::FindBackward);
    m_finding.reset(new SlicedFind(m_textWidget->document(), text,
                                   backward ? m_from.selectionStart() : m_from.selectionEnd(),
                                   flags));
    findOn();
}

void TextEdit::findOn()
{
    if (!m_finding)
        return;
    if (m_finding->run(TextTuning::FindSliceMilliseconds) == SlicedFind::State::Searching) {
        m_nextSlice.start();
        return;
    }
    const QTextCursor match = m_finding->match();
    m_finding.reset();
    if (m_lookingBack) {
        m_lookingBack = false;
        showResult(noMatchText(!match.isNull()));
        return;
    }
    if (!match.isNull()) {
        showResult(QString());
        m_textDisplay->showPosition(m_textDisplay->toFilePosition(match.selectionStart()), 1.0 / 3);
        m_textWidget->setTextCursor(match);
        return;
    }
    if (!waitForText(m_flags))
        lookBack();
}

// When the word occurs behind the cursor, the search has reached the edge of
// the text. Looking back from where the search began reads only the text it
// did not see, and stops at the nearest match.
void TextEdit::lookBack()
{
    const bool backward = m_flags.testFlag(QTextDocument::FindBackward);
    m_lookingBack = true;
    m_finding.reset(new SlicedFind(m_textWidget->document(),
                                   m_textDisplay->toShownScript(m_findEdit->text()),
                                   backward ? m_from.selectionStart() : m_from.selectionEnd(),
                                   m_flags ^ QTextDocument::FindBackward));
    findOn();
}

void TextEdit::stopFinding()
{
    m_nextSlice.stop();
    m_finding.reset();
    m_lookingBack = false;
    disconnect(m_waitForText);
}

// A forward search that found nothing in a text still loading goes on once
// the rest is in; a search backwards has all its text already.
bool TextEdit::waitForText(QTextDocument::FindFlags flags)
{
    if (flags.testFlag(QTextDocument::FindBackward) || !m_textDisplay->isLoading())
        return false;
    showResult(QCoreApplication::translate("QObject", "正在载入，载入后接着查找…"));
    // Another file opened meanwhile ends the search.
    const QString fileName = m_textDisplay->m_fileName;
    m_waitForText = connect(m_textDisplay, &TextDisplay::loadProgress, this,
                            [this, flags, fileName](int percent) {
                                if (percent < 100)
                                    return;
                                disconnect(m_waitForText);
                                if (m_textDisplay->m_fileName == fileName)
                                    find(flags);
                                else
                                    showResult(QString());
                            });
    return true;
}

QString TextEdit::noMatchText(bool foundBehind) const
{
    if (!foundBehind)
        return QCoreApplication::translate("QObject", "未找到");
    return m_flags.testFlag(QTextDocument::FindBackward)
               ? QCoreApplication::translate("QObject", "已到达文首")
               : QCoreApplication::translate("QObject", "已到达文末");
}

void TextEdit::showResult(const QString &text)
{
    assert(m_resultLabel != NULL);
    m_resultLabel->setText(text);
}
