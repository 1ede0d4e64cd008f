#include "NextMatch.h"

#include <algorithm>

// One search: the pieces, and how a match is told.
struct NextMatch::Search {
    const TextPieces &text;
    const QString &word;
    Qt::CaseSensitivity sensitivity;

    int documentPosition(int piece, int index) const
    {
        return text.starts.at(piece) + ShownText::documentLength(text.pieces.at(piece), index);
    }

    // Matches that start in piece and end in the pieces after it, as indexes
    // into piece from first on, in text order.
    QVector<int> acrossTheEnd(int piece, int first) const
    {
        QVector<int> starts;
        const int reach = word.size() - 1;
        if (reach <= 0 || piece + 1 >= text.pieces.size())
            return starts;
        const QString &here = text.pieces.at(piece);
        QString seam = here.right(reach);
        const int tail = seam.size(); // of here
        for (int next = piece + 1; next < text.pieces.size() && seam.size() < tail + reach; ++next)
            seam += text.pieces.at(next).left(tail + reach - seam.size());
        const int offset = here.size() - tail;
        for (int at = seam.indexOf(word, 0, sensitivity); at >= 0 && at < tail;
             at = seam.indexOf(word, at + 1, sensitivity)) {
            if (offset + at >= first && offset + at < here.size())
                starts << offset + at;
        }
        return starts;
    }

    int forward(int piece, int index) const
    {
        for (; piece < text.pieces.size(); ++piece, index = 0) {
            const int at = text.pieces.at(piece).indexOf(word, index, sensitivity);
            if (at >= 0)
                return documentPosition(piece, at);
            const QVector<int> across = acrossTheEnd(piece, index);
            if (!across.isEmpty())
                return documentPosition(piece, across.first());
        }
        return -1;
    }

    // before: matches must start before this index of piece.
    int backward(int piece, int before) const
    {
        for (; piece >= 0; --piece) {
            const QString &here = text.pieces.at(piece);
            if (before < 0)
                before = here.size();
            // Those that run on into the next piece start after any within.
            QVector<int> across = acrossTheEnd(piece, 0);
            while (!across.isEmpty() && across.last() >= before)
                across.removeLast();
            if (!across.isEmpty())
                return documentPosition(piece, across.last());
            const int latest = std::min(before - 1, int(here.size()) - int(word.size()));
            const int at = latest >= 0 ? here.lastIndexOf(word, latest, sensitivity) : -1;
            if (at >= 0)
                return documentPosition(piece, at);
            before = -1;
        }
        return -1;
    }
};

int NextMatch::find(const TextPieces &text, const QString &word, int from, bool backward,
                    Qt::CaseSensitivity sensitivity)
{
    if (word.isEmpty() || text.pieces.isEmpty() || from < 0)
        return -1;
    // The last piece that starts at or before from.
    const auto after = std::upper_bound(text.starts.cbegin(), text.starts.cend(), from);
    const int piece = int(after - text.starts.cbegin()) - 1;
    if (piece < 0)
        return -1;
    const int index = indexOf(text.pieces.at(piece), from - text.starts.at(piece));
    const Search search{text, word, sensitivity};
    return backward ? search.backward(piece, index) : search.forward(piece, index);
}

int NextMatch::indexOf(const QString &piece, int documentOffset)
{
    int index = 0;
    for (int counted = 0; counted < documentOffset && index < piece.size(); ++counted) {
        if (piece.at(index) == QLatin1Char('\r') && index + 1 < piece.size() &&
            piece.at(index + 1) == QLatin1Char('\n'))
            ++index;
        ++index;
    }
    return index;
}
