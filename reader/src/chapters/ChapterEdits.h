#ifndef CHAPTEREDITS_H
#define CHAPTEREDITS_H

#include "ChapterIndex.h"

#include <QString>
#include <QVector>

#include <functional>

// A reader's own corrections to a book's list of chapters: lines made
// chapters (设为章节) and chapters taken out (删除此章), by the file text
// position of their line's start, kept among the book's choices.
struct ChapterEdits {
    // Where they are kept among a book's choices (ReadingState).
    static const QString ChoiceKey;

    QVector<int> added;   // ascending
    QVector<int> removed; // ascending

    // "+120,-4031": empty for none.
    QString toChoice() const;
    // What cannot be read is left out.
    static ChapterEdits fromChoice(const QString &choice);

    // A line made a chapter; one taken out again goes back to the list.
    void add(int position);
    // A chapter taken out; one made by hand is only forgotten.
    void remove(int position);
    bool isEmpty() const { return added.isEmpty() && removed.isEmpty(); }

    // chapters (file text positions, in order) with the edits made: the
    // title of an added line is titleAt(position), and a position that is
    // no line's start of the text any more (titleAt empty) is left out.
    QVector<Chapter> applied(QVector<Chapter> chapters,
                             const std::function<QString(int)> &titleAt) const;
};

#endif // CHAPTEREDITS_H
