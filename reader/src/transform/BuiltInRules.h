#ifndef BUILTINRULES_H
#define BUILTINRULES_H

#include "TransformOptions.h"

#include <QStringList>
#include <QVector>

// The cleaning rules that ship with the reader, for what text sites leave in
// the novels they hand out. Those for what is never text (a line that is
// nothing but a site's address, HTML tags and entities) are on as shipped;
// those that could take a line of a book for a site's (notices, stamps,
// banners) are off until the reader switches them on.
class BuiltInRules
{
public:
    static const QVector<CleaningRule> &all();
    // What names each rule in a settings file, whatever the window's
    // language: its untranslated name. In the order of all().
    static const QStringList &ids();
    // Those on as shipped.
    static QVector<CleaningRule> shipped();
};

#endif // BUILTINRULES_H
