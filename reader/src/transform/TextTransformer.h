#ifndef TEXTTRANSFORMER_H
#define TEXTTRANSFORMER_H

#include "ParagraphTidier.h"
#include "PositionMap.h"
#include "RuleCleaner.h"
#include "TracedText.h"
#include "TransformOptions.h"

#include <QString>

#include <memory>

class ScriptConverter;

// The transform of one text, stretch by stretch as a long file arrives:
// cleaning rules, the script, then tidied paragraphs. Its output for the stretches
// together is what it gives for the whole text at once: a rule works within
// a line, and a line is settled once the one after it is known, so the last
// line of a stretch waits for the next, and no phrase of the script spans
// a line break. The map's positions count from the start of the text on
// both sides.
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
    // The OpenCC configuration the text is converted by, once the first
    // stretch has chosen it; empty when the script stays as it is or the
    // configuration could not be loaded, which scriptError() then explains.
    QString scriptConfiguration() const;
    const QString &scriptError() const { return m_scriptError; }

private:
    int tidy(TracedText *text, bool last);
    void convertScript(TracedText *stretch, int fileEnd);

    bool m_identity;
    bool m_tidy;
    RuleCleaner m_cleaner;
    ParagraphTidier m_tidier;
    Script m_script;
    bool m_scriptChosen = false;
    std::shared_ptr<const ScriptConverter> m_converter; // shared by every text in its script
    QString m_scriptError;
    TracedText m_held;       // what waits for the next stretch
    int m_filePosition = 0;  // where the next stretch begins in the file text
    int m_shownPosition = 0; // where the next output begins in the shown text
};

#endif // TEXTTRANSFORMER_H
