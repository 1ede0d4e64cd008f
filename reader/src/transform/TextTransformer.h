#ifndef TEXTTRANSFORMER_H
#define TEXTTRANSFORMER_H

#include "ParagraphTidier.h"
#include "PositionMap.h"
#include "RuleCleaner.h"
#include "TracedText.h"
#include "TransformOptions.h"

#include <QString>

// The transform of one text, stretch by stretch as a long file arrives:
// cleaning rules, then tidied paragraphs. Its output for the stretches
// together is what it gives for the whole text at once: a rule works within
// a line, and a line is settled once the one after it is known, so the last
// line of a stretch waits for the next. The map's positions count from the
// start of the text on both sides.
class TextTransformer
{
public:
    struct Output {
        QString text;
        PositionMap map;
    };

    explicit TextTransformer(const TransformOptions &options);

    bool isIdentity() const { return m_identity; }
    // piece: the next stretch of the decoded file text, ending at a line
    // break unless it is the last.
    Output transform(const QString &piece, bool last);
    // Rules that failed (not valid, or past the bound of a match) and were
    // left out from then on; each once.
    QVector<RuleCleaner::Failure> takeFailures() { return m_cleaner.takeFailures(); }

private:
    int tidy(TracedText *text, bool last);

    bool m_identity;
    bool m_tidy;
    RuleCleaner m_cleaner;
    ParagraphTidier m_tidier;
    TracedText m_held;       // what waits for the next stretch
    int m_filePosition = 0;  // where the next stretch begins in the file text
    int m_shownPosition = 0; // where the next output begins in the shown text
};

#endif // TEXTTRANSFORMER_H
