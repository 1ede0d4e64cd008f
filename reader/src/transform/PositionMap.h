#ifndef POSITIONMAP_H
#define POSITIONMAP_H

#include <QVector>

// Where each character of a shown text stands in the file text it was made
// from, and back. The file text is the decoded file as the document counts
// it (a CR LF is one position); the shown text is what the view holds after
// cleaning, tidying or converting it. Between the changes both advance
// together, so the map keeps only the changes, 16 bytes each, and finds a
// position by binary search.
//
// A character that was removed maps to the shown position of the next one
// kept; a character that was inserted maps to the file position of the one
// it stands before; inside a replacement each side maps to the other's
// start, as far as the shorter reaches.
class PositionMap
{
public:
    struct Change {
        int file;
        int fileLength;
        int shown;
        int shownLength;
    };

    bool isIdentity() const { return m_changes.isEmpty(); }
    int changeCount() const { return m_changes.size(); }
    const QVector<Change> &changes() const { return m_changes; }
    // Bytes the map holds for its changes.
    qint64 bytes() const { return qint64(m_changes.capacity()) * qint64(sizeof(Change)); }

    int toShown(int filePosition) const;
    int toFile(int shownPosition) const;

    // Changes come in order, each after the one before on both sides.
    void append(const Change &change);
    // The changes of a map for a stretch that follows what this one covers:
    // it starts at filePosition and shownPosition here.
    void append(const PositionMap &stretch, int filePosition, int shownPosition);
    void clear() { m_changes.clear(); }

private:
    QVector<Change> m_changes;
};

Q_DECLARE_TYPEINFO(PositionMap::Change, Q_PRIMITIVE_TYPE);

#endif // POSITIONMAP_H
