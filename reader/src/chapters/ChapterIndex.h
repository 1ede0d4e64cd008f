#ifndef CHAPTERINDEX_H
#define CHAPTERINDEX_H

#include <QString>
#include <QStringView>
#include <QVector>

// One heading of a text.
struct Chapter {
    QString title; // the heading's line, without white space at either end
    int position;  // document position of the line's first character
    int level;     // 0 a volume (卷, 部, …), 1 a chapter or any other heading
};
Q_DECLARE_TYPEINFO(Chapter, Q_MOVABLE_TYPE);

// Finds the headings of a novel the way a Chinese reader recognises them:
// an ordinal (第 + numeral + unit, 卷 + numeral, "Chapter 12"), one of a few
// words that head the parts around the story (楔子, 尾声, 番外, …), or a run
// of consecutively numbered lines ("1.标题"); in every case a short line
// that does not read as a sentence.
class ChapterIndex
{
public:
    // text is the text as handed to the view; positions count every line
    // break (CR LF included) as one, as the document does. Pure: safe to
    // call from any thread.
    static QVector<Chapter> scan(const QString &text);
    // Whether one line alone reads as a heading (numbered lines count only
    // in a run, which one line cannot tell). Pure.
    static bool isHeadingLine(QStringView line);
};

#endif // CHAPTERINDEX_H
