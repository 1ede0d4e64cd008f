#ifndef MOVEDBOOKFINDER_H
#define MOVEDBOOKFINDER_H

#include "BookFacts.h"

#include <QStringList>
#include <QVector>

// Finds the files of books that are no longer where they were read, by
// their content: among the text files of a few folders (not their
// subfolders), the one of the book's size whose fingerprint is the book's.
// Each folder is listed once for all the books, and only files of a size
// some book has are read, a few stretches each, so that folders of a
// thousand novels cost their listings and little more. Runs on any thread.
class MovedBookFinder
{
public:
    static constexpr int MaxFilesPerFolder = 5000;

    // For each book, its file, or empty where none of the folders holds it
    // or its facts do not tell it (no fingerprint).
    static QStringList find(const QVector<BookFacts> &books, const QStringList &folders);
};

#endif // MOVEDBOOKFINDER_H
