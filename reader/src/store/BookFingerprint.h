#ifndef BOOKFINGERPRINT_H
#define BOOKFINGERPRINT_H

#include <QString>

// What a book is, whatever its file is called or wherever it lies: a hash of
// its size and of stretches of its bytes spread over the file, so that a
// renamed or moved copy is the same book on any machine, and telling costs a
// few reads of 64 KiB even for a 100 MB novel. Two files that differ only
// between the stretches count as the same book; for novels, whose every
// edition differs in its size or its first page, that does not happen.
class BookFingerprint
{
public:
    // Hexadecimal, or empty when the file cannot be read.
    static QString of(const QString &fileName);
};

#endif // BOOKFINGERPRINT_H
