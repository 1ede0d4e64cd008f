#include "SlicedFind.h"

#include <QElapsedTimer>
#include <QTextBlock>

SlicedFind::SlicedFind(const QTextDocument *document, const QString &text, int from,
                       QTextDocument::FindFlags flags)
    : m_document(document), m_text(text),
      m_case(flags.testFlag(QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive
                                                                : Qt::CaseInsensitive),
      m_backward(flags.testFlag(QTextDocument::FindBackward)),
      // the cursor stands between characters: backwards, the one before it
      // is the first to read
      m_position(m_backward ? from - 1 : from)
{
    if (text.isEmpty() || m_position < 0)
        m_state = State::NotFound;
}

// The position is kept between stretches rather than a block, which the
// document's growth may move.
SlicedFind::State SlicedFind::run(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (m_state == State::Searching && clock.elapsed() < milliseconds) {
        const QTextBlock block = m_document->findBlock(m_position);
        if (!block.isValid()) {
            m_state = State::NotFound;
            break;
        }
        if (findInBlock(block, m_position - block.position())) {
            m_state = State::Found;
            break;
        }
        const QTextBlock next = m_backward ? block.previous() : block.next();
        if (!next.isValid())
            m_state = State::NotFound;
        else if (m_backward)
            m_position = next.position() + qMax(0, next.length() - 2); // its last character
        else
            m_position = next.position();
    }
    return m_state;
}

// A non-breaking space is found by a space, as the document's own find has it.
bool SlicedFind::findInBlock(const QTextBlock &block, int offset)
{
    if (offset < 0)
        return false;
    QString text = block.text();
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    const int index = m_backward ? text.lastIndexOf(m_text, offset, m_case)
                                 : text.indexOf(m_text, offset, m_case);
    if (index < 0)
        return false;
    m_match = QTextCursor(const_cast<QTextDocument *>(m_document));
    m_match.setPosition(block.position() + index);
    m_match.setPosition(block.position() + index + m_text.size(), QTextCursor::KeepAnchor);
    return true;
}
