#ifndef CHAPTERINDEX_H
#define CHAPTERINDEX_H

#include <QString>
#include <QStringView>
#include <QVector>

#include <atomic>

// One heading of a text.
struct Chapter {
    // The heading part of its line, plain text: without white space at
    // either end, without a site's marker before it (正文, 《》目录) and
    // without the poem or prose after it. At most about 40 characters.
    QString title;
    int position; // document position of the line's first character
    int level;    // 0 a volume (卷, 部, …), 1 a chapter or any other heading
};
Q_DECLARE_TYPEINFO(Chapter, Q_MOVABLE_TYPE);

// Finds the headings of a novel the way a Chinese reader recognises them.
// A text can be read in several ways (each a "reading"):
// - Ordinals: an ordinal (第 + numeral + unit, 卷 + numeral, "Chapter 12"),
//   one of a few words that head the parts around the story (楔子, 尾声,
//   番外, …), also after a site's marker (正文, 《》目录) or a short lead-in;
// - Marked: every section a site exported as "正文 <title>";
// - Numbered: a run of consecutively numbered lines ("1.标题");
// - BookName: the same short text with a number counting up (鼠疫1, 鼠疫2,
//   …; 自传(1), 自传(2), …);
// - Sections: a run of lines numbered 一、二、三…;
// in every case a short line that does not read as a sentence. scan()
// takes the reading that fits the text best (ChapterFit).
class ChapterIndex
{
public:
    enum Reading { Ordinals, Marked, Numbered, BookName, Sections, ReadingCount };
    // Each reading's headings, alone, in text order; a list of contents
    // that the same headings follow later is left out.
    struct Readings {
        QVector<Chapter> of[ReadingCount];
        int textSize = 0;
        bool cancelled = false;
    };

    // text is the text as handed to the view; positions count every line
    // break (CR LF included) as one, as the document does. Pure: safe to
    // call from any thread. The best-fitting reading's headings.
    static QVector<Chapter> scan(const QString &text);
    // Every reading at once, in one pass; stops early (cancelled) once
    // *cancel is set.
    static Readings readings(const QString &text, const std::atomic<bool> *cancel = nullptr);
    // Whether one line alone reads as a heading of the Ordinals reading
    // (the others count only in a run, which one line cannot tell). Pure.
    static bool isHeadingLine(QStringView line);
    // The heading part of any line, as a chapter's title shows it.
    static QString titleOf(QStringView line);
};

#endif // CHAPTERINDEX_H
