#ifndef BOOKFACTS_H
#define BOOKFACTS_H

#include <QString>

class QXmlStreamAttributes;
class QXmlStreamWriter;

// What the shelf says of a book without opening it: how far it was read,
// in which chapter, and what tells its file again where it moved. Kept
// beside the book's reading position, on this machine only; a value not
// known is left out.
struct BookFacts {
    int progress = -1; // per mille of the text above the reading position; -1 not known
    int chapter = 0;   // of the reading position, from 1; 0 not known
    int chapters = 0;  // 0: none found
    QString firstChapter;
    QString fingerprint; // BookFingerprint of the file
    qint64 size = -1;    // of the file, in bytes

    // "第 12/3400 章 · 37%", or "37%" where no chapters are known; chapter
    // 0 is before the first.
    static QString describe(int chapter, int chapters, int percent);
    QString progressText() const { return describe(chapter, chapters, progress / 10); }

    bool isEmpty() const { return progress < 0 && fingerprint.isEmpty(); }
    bool operator==(const BookFacts &other) const;
    bool operator!=(const BookFacts &other) const { return !(*this == other); }

    // Values out of range or of the wrong kind are left unknown.
    static BookFacts read(const QXmlStreamAttributes &attributes);
    void write(QXmlStreamWriter *writer) const;
    // The attribute names the facts take.
    static bool isName(const QString &name);
};

#endif // BOOKFACTS_H
