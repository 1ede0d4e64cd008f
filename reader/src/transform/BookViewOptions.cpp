#include "BookViewOptions.h"

#include "CleaningRuleStore.h"
#include "ReadingState.h"

const QString BookViewOptions::TidyChoice = QStringLiteral("段落整理");

TransformOptions BookViewOptions::of(const QString &fileName, const CleaningRuleStore &rules,
                                     const ReadingState &state)
{
    TransformOptions options;
    options.rules = rules.rulesFor(fileName);
    options.tidyParagraphs = tidiesParagraphs(fileName, state);
    return options;
}

bool BookViewOptions::tidiesParagraphs(const QString &fileName, const ReadingState &state)
{
    const QString choice = state.choice(fileName, TidyChoice);
    return choice.isEmpty() ? state.tidyParagraphsByDefault : choice == QLatin1String("1");
}
