#include "BookViewOptions.h"

#include "CleaningRuleStore.h"
#include "ReadingState.h"
#include "ScriptChoice.h"

const QString BookViewOptions::TidyChoice = QStringLiteral("段落整理");
const QString BookViewOptions::ScriptChoiceName = QStringLiteral("简繁");

TransformOptions BookViewOptions::of(const QString &fileName, const CleaningRuleStore &rules,
                                     const ReadingState &state)
{
    TransformOptions options;
    options.rules = rules.rulesFor(fileName);
    options.tidyParagraphs = tidiesParagraphs(fileName, state);
    options.script = scriptOf(fileName, state);
    return options;
}

bool BookViewOptions::tidiesParagraphs(const QString &fileName, const ReadingState &state)
{
    const QString choice = state.choice(fileName, TidyChoice);
    return choice.isEmpty() ? state.tidyParagraphsByDefault : choice == QLatin1String("1");
}

Script BookViewOptions::scriptOf(const QString &fileName, const ReadingState &state)
{
    const QString choice = state.choice(fileName, ScriptChoiceName);
    return ScriptChoice::fromKey(choice.isEmpty() ? state.scriptByDefault : choice);
}
