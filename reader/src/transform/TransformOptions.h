#ifndef TRANSFORMOPTIONS_H
#define TRANSFORMOPTIONS_H

#include <QString>
#include <QVector>

#include <algorithm>

// One cleaning rule: what it finds, as plain text or a regular expression,
// and what it puts in its place (nothing: it removes what it finds). A rule
// works within one line at a time; a line it leaves empty, having found the
// whole of it, goes with its line break.
struct CleaningRule {
    QString name;
    QString pattern;
    QString replacement; // may name groups of a regular expression as $1 … $9
    bool regex = false;
    bool enabled = true;

    bool operator==(const CleaningRule &other) const
    {
        return name == other.name && pattern == other.pattern && replacement == other.replacement &&
               regex == other.regex && enabled == other.enabled;
    }
};

// The script the view shows the text in.
enum class Script {
    Unchanged,
    Simplified,
    Traditional,
    TraditionalTaiwan,
    TraditionalTaiwanPhrases,
    TraditionalHongKong,
};

// How the text of a file becomes the text the view shows.
struct TransformOptions {
    // The rules that ship with the reader, each as it is switched there.
    bool builtInRules = false;
    // The user's rules that apply to the book, in the order they apply,
    // after the built-in ones.
    QVector<CleaningRule> rules;
    // Blank lines between paragraphs removed, paragraphs indented with two
    // full-width spaces, lines broken inside a paragraph joined.
    bool tidyParagraphs = false;
    // With tidied paragraphs, one blank line stays between them.
    bool keepOneBlankLine = false;
    Script script = Script::Unchanged;

    bool isIdentity() const
    {
        return !builtInRules && !tidyParagraphs && script == Script::Unchanged &&
               std::none_of(rules.cbegin(), rules.cend(),
                            [](const CleaningRule &rule) { return rule.enabled; });
    }
};

#endif // TRANSFORMOPTIONS_H
