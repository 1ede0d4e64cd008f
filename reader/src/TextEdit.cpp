#include "TextEdit.h"

#include <QLineEdit>
#include <QTextEdit>

#include <cassert>

TextEdit::TextEdit(QObject *parent) : QObject(parent) {}

void TextEdit::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

void TextEdit::setFindEdit(QLineEdit *edit)
{
    m_findEdit = edit;
}

void TextEdit::findFront()
{
    find(QTextDocument::FindBackward);
}

void TextEdit::findNext()
{
    find(QTextDocument::FindCaseSensitively);
}

// A match is selected and scrolled into view; it is also where the next
// bookmark will point. No match changes nothing and says nothing.
void TextEdit::find(QTextDocument::FindFlags flags)
{
    assert(m_textWidget != NULL);
    assert(m_findEdit != NULL);
    m_textWidget->find(m_findEdit->text(), flags);
}
