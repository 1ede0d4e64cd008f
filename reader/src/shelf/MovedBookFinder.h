#ifndef MOVEDBOOKFINDER_H
#define MOVEDBOOKFINDER_H

#include "BookFacts.h"

#include <QStringList>

// Finds the file of a book that is no longer where it was read, by its
// content: among the text files of a few folders (not their subfolders),
// the one of the book's size whose fingerprint is the book's. Only files of
// that size are read, a few stretches each, so that a folder of a thousand
// novels costs a listing and little more. Runs on any thread.
class MovedBookFinder
{
public:
    static constexpr int MaxFilesPerFolder = 5000;

    // The file, or empty where none of the folders holds it or the facts do
    // not tell it (no fingerprint).
    static QString find(const BookFacts &facts, const QStringList &folders);
};

#endif // MOVEDBOOKFINDER_H
