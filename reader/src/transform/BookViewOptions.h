#ifndef BOOKVIEWOPTIONS_H
#define BOOKVIEWOPTIONS_H

#include "TransformOptions.h"

#include <QString>

class CleaningRuleStore;
class ReadingState;

// What the view does to one book's text: the cleaning rules that apply to
// it, whether its paragraphs are tidied and the script it is shown in, each
// as chosen for the book or else as chosen for books read the first time.
class BookViewOptions
{
public:
    // The choice kept for a book in the reading state: "1" or "0".
    static const QString TidyChoice;
    // A key of ScriptChoice.
    static const QString ScriptChoiceName;

    static TransformOptions of(const QString &fileName, const CleaningRuleStore &rules,
                               const ReadingState &state);
    static bool tidiesParagraphs(const QString &fileName, const ReadingState &state);
    static Script scriptOf(const QString &fileName, const ReadingState &state);
};

#endif // BOOKVIEWOPTIONS_H
