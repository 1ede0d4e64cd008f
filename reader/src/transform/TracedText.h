#ifndef TRACEDTEXT_H
#define TRACEDTEXT_H

#include "PositionMap.h"

#include <QString>
#include <QVector>

// A stretch of text being transformed, each character with where it came
// from in the file text: the steps of a transform edit it in place, and at
// the end it says what changed as a PositionMap. Only a stretch that is
// edited pays for the tracing (four bytes a character, while it is edited);
// an untouched one maps one to one.
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
    void trace();
    bool isTraced() const { return !m_origins.isEmpty() || m_text.isEmpty(); }

    QString m_text;
    // The file position each character came from, -1 for one inserted.
    // Empty while nothing is edited: character i came from m_fileStart + i.
    QVector<int> m_origins;
    int m_fileStart;
    // What the text and its origins were before the last edit, kept for
    // the next one to write into.
    QString m_spareText;
    QVector<int> m_spareOrigins;
};

#endif // TRACEDTEXT_H
