#ifndef SCRIPTCHOICE_H
#define SCRIPTCHOICE_H

#include "TransformOptions.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Which OpenCC configuration shows a text in the script chosen for it. For
// simplified characters the text's own script and region decide: Taiwan
// writes 著 for the particle that the mainland writes 着, and only Taiwan's
// configuration knows it, so a text from Taiwan goes through tw2sp (with
// its vocabulary: 軟體 becomes 软件), one from Hong Kong through hk2s and any
// other through t2s.
class ScriptChoice
{
public:
    enum class Region { Simplified, Traditional, Taiwan, HongKong };

    // sample: the start of the text. Empty for Script::Unchanged.
    static QString configurationFor(Script script, QStringView sample);
    // Every configuration that showing a text in script may load, to be
    // loaded before it is needed.
    static QStringList configurationsOf(Script script);
    // How the sample is written: which script, and for traditional
    // characters the region whose variants it uses, if any.
    static Region regionOf(QStringView sample);
    // The configuration that turns what a reader types into the characters
    // of a text written in region.
    static QString configurationInto(Region region);
    // What a choice is kept as beside a book's reading position, and back
    // (Script::Unchanged for anything else, an empty key included).
    static QString keyOf(Script script);
    static Script fromKey(const QString &key);
};

#endif // SCRIPTCHOICE_H
