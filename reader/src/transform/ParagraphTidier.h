#ifndef PARAGRAPHTIDIER_H
#define PARAGRAPHTIDIER_H

#include "TracedText.h"

#include <QStringView>

// Tidies the paragraphs of a text as a Chinese book sets them: blank lines
// between paragraphs go (or all but one), every paragraph starts with two
// full-width spaces, and lines a site broke inside a paragraph are joined.
// Whether a book was broken so is judged once, from the lengths of its first
// lines: most of them as long as a page was wide, give or take a few
// characters, and not ending a sentence. Joining removes a line break and
// nothing else: never after the end of a sentence, never before a line of
// dialogue, a heading or an indented line, never between two Latin words.
// Headings are left as they are. Works line by line over a text in
// stretches: a line is settled once the next one is known.
class ParagraphTidier
{
public:
    // How much text the judgement of a book looks at.
    static constexpr int SampleCharacters = 32768;

    explicit ParagraphTidier(bool keepOneBlankLine = false);

    bool isJudged() const { return m_judged; }
    // The width a page had where lines were broken at it (CJK characters
    // counting two), or 0.
    int wrapWidth() const { return m_width; }
    void judge(QStringView sample);

    // Tidies the lines of text, all but its last unless last is true, and
    // returns where the first line it left begins. text holds whole lines,
    // each but the very last of the book ending with a line break.
    int tidy(TracedText *text, bool last);

private:
    struct Line {
        int start;
        int lead;    // blanks before the line's text
        int length;  // without the line break
        bool broken; // ends with a line break
    };
    Line lineAt(const QString &text, int start) const;
    void tidyLine(const QString &text, const Line &line, const Line *next,
                  QVector<TracedText::Edit> *edits);
    bool joins(QStringView body, QStringView next, int nextLead) const;

    bool m_keepOneBlankLine;
    bool m_judged = false;
    int m_width = 0;
    bool m_continues = false; // the line before was joined to the next
    bool m_afterBlank = true; // at the start, or a blank line was kept before
};

#endif // PARAGRAPHTIDIER_H
