#include "TextEdit.h"

#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "TextDisplay.h"
#include "WorkerPool.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

#include <cassert>

TextEdit::TextEdit(QObject *parent) : QObject(parent) {}

void TextEdit::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

// An answer about the previous word would mislead once the word changes.
void TextEdit::setFindEdit(QLineEdit *edit)
{
    m_findEdit = edit;
    connect(edit, &QLineEdit::returnPressed, this, &TextEdit::findNext);
    connect(edit, &QLineEdit::textChanged, this, [this] { showResult(QString()); });
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

void TextEdit::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
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
    // A word typed in the other script finds what the view shows for it.
    const QString text = m_textDisplay->toShownScript(m_findEdit->text());
    const QTextCursor cursor = m_textWidget->textCursor();
    const QTextCursor match = m_textWidget->document()->find(text, cursor, flags);
    disconnect(m_waitForText);
    if (match.isNull()) {
        if (!text.isEmpty() && waitForText(flags))
            return;
        showResult(text.isEmpty() ? QString() : noMatchText(cursor, flags));
        return;
    }
    showResult(QString());
    m_textDisplay->showPosition(m_textDisplay->toFilePosition(match.selectionStart()), 1.0 / 3);
    m_textWidget->setTextCursor(match);
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

// When the word occurs behind the cursor, the search has reached the edge of
// the text. Looking back from where the search began reads only the text it
// did not see, and stops at the nearest match.
QString TextEdit::noMatchText(const QTextCursor &from, QTextDocument::FindFlags flags) const
{
    const bool backward = flags.testFlag(QTextDocument::FindBackward);
    QTextCursor start(m_textWidget->document());
    start.setPosition(backward ? from.selectionStart() : from.selectionEnd());
    const QTextDocument::FindFlags back = flags ^ QTextDocument::FindBackward;
    const QString text = m_textDisplay->toShownScript(m_findEdit->text());
    if (m_textWidget->document()->find(text, start, back).isNull())
        return QCoreApplication::translate("QObject", "未找到");
    return backward ? QCoreApplication::translate("QObject", "已到达文首")
                    : QCoreApplication::translate("QObject", "已到达文末");
}

void TextEdit::showResult(const QString &text)
{
    assert(m_resultLabel != NULL);
    m_resultLabel->setText(text);
}
