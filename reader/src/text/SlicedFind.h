#ifndef SLICEDFIND_H
#define SLICEDFIND_H

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

// Finds a word in a document as QTextDocument::find does (within a line,
// from a position on, forwards or backwards, without wrapping round), but a
// bounded stretch at a time, so that a miss in a long novel does not hold up
// the event loop. Between stretches the document may grow at its end; it
// must not be replaced.
class SlicedFind
{
public:
    enum class State { Searching, Found, NotFound };

    // from: a cursor position; a backward search finds matches that start
    // before it, a forward one those that start at or after it.
    SlicedFind(const QTextDocument *document, const QString &text, int from,
               QTextDocument::FindFlags flags);

    // Reads on for about this long at most.
    State run(int milliseconds);
    // The match, selected, once found.
    QTextCursor match() const { return m_match; }

private:
    bool findInBlock(const QTextBlock &block, int offset);

    const QTextDocument *m_document; // not owned
    QString m_text;
    Qt::CaseSensitivity m_case;
    bool m_backward;
    int m_position; // where the next stretch starts reading
    State m_state = State::Searching;
    QTextCursor m_match;
};

#endif // SLICEDFIND_H
