#include "CleanCase.h"

#include "BenchCase.h"
#include "FirstOpenCase.h"
#include "TransformOptions.h"

#include <QStringList>

namespace
{

// Words the generated novels hold a few hundred times each, replaced by
// another of the same length or removed, so that the map has changes of
// both kinds; and names of sites that never occur, plain and as expressions
// anchored to a line, which every line is still searched for.
QVector<CleaningRule> userRules()
{
    QVector<CleaningRule> rules;
    const QStringList often{QStringLiteral("我们"), QStringLiteral("他说"), QStringLiteral("时间"),
                            QStringLiteral("没有"), QStringLiteral("知道")};
    for (int i = 0; i < often.size(); ++i)
        rules.append({QStringLiteral("常见 %1").arg(i), often[i],
                      i % 2 == 0 ? QString() : QStringLiteral("咱们"), false, true});
    for (int i = 0; i < 25; ++i)
        rules.append({QStringLiteral("站名 %1").arg(i), QStringLiteral("某某小说网%1").arg(i),
                      QString(), false, true});
    for (int i = 0; i < 20; ++i)
        rules.append({QStringLiteral("站址 %1").arg(i),
                      QStringLiteral("^\\h*(?:www|ｗｗｗ)[.．]site%1[.．](?:com|net).*$").arg(i),
                      QString(), true, true});
    return rules;
}

} // namespace

int runClean(const BenchCase &benchCase)
{
    TransformOptions options;
    if (benchCase.position != QLatin1String("none")) {
        options.builtInRules = true;
        options.rules = userRules();
        options.tidyParagraphs = benchCase.position == QLatin1String("tidy");
    }
    return runFirstOpen(benchCase, options);
}
