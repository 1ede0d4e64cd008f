#include "TextEdit.h"

#include "NextMatch.h"
#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "ShownText.h"
#include "TextDisplay.h"
#include "WorkerPool.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

#include <cassert>

namespace
{
// A held key repeats; beyond this many the presses are dropped.
const int MaxQueuedPresses = 8;
} // namespace

TextEdit::TextEdit(QObject *parent) : QObject(parent)
{
    connect(&m_finding, &QFutureWatcher<std::pair<int, int>>::finished, this, &TextEdit::searched);
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

// A find in progress reads the text that a new text replaces.
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
// where the next bookmark will point. No match moves nothing.
void TextEdit::find(QTextDocument::FindFlags flags)
{
    assert(m_textWidget != NULL);
    assert(m_findEdit != NULL);
    assert(m_textDisplay != NULL);
    // Presses while a search runs wait their turn, each going on from the
    // match before it, as they would have done on a shorter text.
    if (isFinding()) {
        if (m_queued.size() < MaxQueuedPresses)
            m_queued << flags;
        return;
    }
    stopFinding();
    // A word typed in the other script finds what the view shows for it.
    m_word = m_textDisplay->toShownScript(m_findEdit->text());
    if (m_word.isEmpty()) {
        showResult(QString());
        return;
    }
    m_flags = flags;
    m_from = m_textWidget->textCursor();
    search(flags.testFlag(QTextDocument::FindBackward));
}

// Forwards the letter case must match, backwards it need not. The pieces
// are shared, not copied: the copy costs nothing however long the text.
void TextEdit::search(bool backward)
{
    const TextPieces text = m_textDisplay->shownText()->pieces();
    m_searchedLength = m_textDisplay->shownText()->length();
    const int from = backward ? m_from.selectionStart() : m_from.selectionEnd();
    const Qt::CaseSensitivity sensitivity = m_flags.testFlag(QTextDocument::FindCaseSensitively)
                                                ? Qt::CaseSensitive
                                                : Qt::CaseInsensitive;
    static int searches = 0;
    const int serial = m_search = ++searches;
    m_finding.setFuture(WorkerPool::run([serial, text, word = m_word, from, backward, sensitivity] {
        return std::make_pair(serial, NextMatch::find(text, word, from, backward, sensitivity));
    }));
}

void TextEdit::searched()
{
    const std::pair<int, int> result = m_finding.result();
    if (result.first != m_search)
        return;
    m_search = 0;
    const int position = result.second;
    if (m_lookingBack) {
        m_lookingBack = false;
        showResult(noMatchText(position >= 0));
        findQueued();
        return;
    }
    if (position >= 0) {
        showResult(QString());
        m_textDisplay->showPosition(m_textDisplay->toFilePosition(position), 1.0 / 3);
        QTextCursor match(m_textWidget->document());
        match.setPosition(position);
        match.setPosition(position + m_word.size(), QTextCursor::KeepAnchor);
        m_textWidget->setTextCursor(match);
        findQueued();
        return;
    }
    // Text that came while the search ran may hold the word.
    const bool forward = !m_flags.testFlag(QTextDocument::FindBackward);
    if (forward && m_textDisplay->shownText()->length() > m_searchedLength)
        search(false);
    else if (!waitForText(m_flags))
        lookBack();
}

// When the word occurs behind the cursor, the search has reached the edge of
// the text: one search back from where it began tells.
void TextEdit::lookBack()
{
    m_lookingBack = true;
    search(!m_flags.testFlag(QTextDocument::FindBackward));
}

void TextEdit::findQueued()
{
    if (!m_queued.isEmpty())
        find(m_queued.takeFirst());
}

void TextEdit::stopFinding()
{
    m_search = 0;
    m_queued.clear();
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
