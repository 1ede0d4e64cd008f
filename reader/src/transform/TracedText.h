#ifndef TRACEDTEXT_H
#define TRACEDTEXT_H

#include "PositionMap.h"

#include <QString>
#include <QVector>

#include <vector>

// A stretch of text being transformed, each character with where it came
// from in the file text: the steps of a transform edit it in place, and at
// the end it says what changed as a PositionMap. Where the characters came
// from is kept as spans, one for each run that came from the file in one
// piece and one for each replacement, so that the cost of tracing follows
// the edits, not the length: converting a megabyte of text to another
// script changes the length of a few dozen phrases in it.
class TracedText
{
public:
    // text came from the file text one for one, from fileStart on.
    explicit TracedText(QString text = QString(), int fileStart = 0);

    const QString &text() const { return m_text; }
    int size() const { return m_text.size(); }
    // Where the stretch begins in the file text.
    int fileStart() const { return m_fileStart; }

    struct Edit {
        int position;
        int length;
        QString replacement;
    };

    // Puts replacement in the place of length characters at position; the
    // new characters count as inserted, the replaced ones as removed.
    void replace(int position, int length, const QString &replacement);
    // Many replacements in one pass over the text; edits come in order and
    // do not overlap.
    void apply(const QVector<Edit> &edits);
    // For edits that leave every character where it is and where it came
    // from, as converting one character into another does.
    QChar *data() { return m_text.data(); }

    // Cuts the text at position: what is before it stays, the rest is
    // returned, still traced, beginning in the file where its first
    // character from the file came from (else where this stretch ends,
    // fileEnd).
    TracedText split(int position, int fileEnd);
    // Appends other, whose stretch of the file follows this one's.
    void append(const TracedText &other);

    // The changes, with file positions as the file text counts them and
    // shown positions from 0 at this stretch's start; fileEnd: where this
    // stretch ends in the file text.
    PositionMap changes(int fileEnd) const;

private:
    // The characters from at on, up to the next span, came from the file
    // one for one from origin on; or were inserted, where origin is -1.
    struct Span {
        int at;
        int origin;
    };
    // Spans in order, each a character or more, as they are built from the
    // start of a text on; next to each other, two that continue one
    // another are one.
    class SpanList
    {
    public:
        void add(int origin, int length);
        // The spans of the characters from..to of a text of size characters.
        void addFrom(const std::vector<Span> &spans, int size, int from, int to);
        std::vector<Span> take() { return std::move(m_spans); }

    private:
        std::vector<Span> m_spans;
        int m_size = 0;
    };
    int spanEnd(int span) const;

    QString m_text;
    std::vector<Span> m_spans;
    int m_fileStart;
    // What the text was before the last edit, kept for the next one to
    // write into.
    QString m_spareText;
};

#endif // TRACEDTEXT_H
