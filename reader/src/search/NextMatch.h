#ifndef NEXTMATCH_H
#define NEXTMATCH_H

#include "ShownText.h"

#include <QString>

// Where the nearest occurrence of a word lies in the shown text, forwards
// or backwards from a position, as the find buttons look for it: within a
// line, without wrapping round at either end. It reads the pieces, not the
// document, so that it can run off the GUI thread on a text of any length;
// a word that a piece boundary cuts in two is found all the same.
class NextMatch
{
public:
    // from: a document position. Forwards, the first match that starts at
    // or after it; backwards, the last that starts before it. The match's
    // document position, or -1.
    static int find(const TextPieces &text, const QString &word, int from, bool backward,
                    Qt::CaseSensitivity sensitivity);

    // The index in piece of a document offset into it (the inverse of
    // ShownText::documentLength).
    static int indexOf(const QString &piece, int documentOffset);

private:
    struct Search;
};

#endif // NEXTMATCH_H
