#include "ScriptChoice.h"

#include "ScriptConverter.h"

namespace
{

struct Known {
    Script script;
    const char *key;
    const char *configuration;
};

// The keys are kept in files and sent to other machines: they never change.
const Known KnownScripts[] = {
    {Script::Unchanged, "0", nullptr},
    {Script::Simplified, "s", nullptr},
    {Script::Traditional, "t", "s2t.json"},
    {Script::TraditionalTaiwan, "tw", "s2tw.json"},
    {Script::TraditionalTaiwanPhrases, "twp", "s2twp.json"},
    {Script::TraditionalHongKong, "hk", "s2hk.json"},
};

int changes(const char *configuration, int step, QStringView sample)
{
    const auto converter = ScriptConverter::forConfiguration(QLatin1String(configuration));
    return converter ? converter->changes(step, sample) : 0;
}

} // namespace

QString ScriptChoice::configurationFor(Script script, QStringView sample)
{
    if (script == Script::Simplified) {
        switch (regionOf(sample)) {
        case Region::Taiwan:
            return QStringLiteral("tw2sp.json");
        case Region::HongKong:
            return QStringLiteral("hk2s.json");
        default:
            return QStringLiteral("t2s.json");
        }
    }
    for (const Known &known : KnownScripts) {
        if (known.script == script && known.configuration != nullptr)
            return QLatin1String(known.configuration);
    }
    return QString();
}

// Characters that change from traditional to simplified against those that
// change the other way; then the variants that only Taiwan's or only Hong
// Kong's configuration takes back (裡 and 著 against 説 and 衞, say), those
// both know cancelling out.
QStringList ScriptChoice::configurationsOf(Script script)
{
    if (script == Script::Simplified)
        return {QStringLiteral("t2s.json"), QStringLiteral("s2t.json"),
                QStringLiteral("tw2sp.json"), QStringLiteral("hk2s.json")};
    const QString name = configurationFor(script, QStringView());
    return name.isEmpty() ? QStringList() : QStringList{name};
}

ScriptChoice::Region ScriptChoice::regionOf(QStringView sample)
{
    const int toSimplified = changes("t2s.json", -1, sample);
    const int toTraditional = changes("s2t.json", 0, sample);
    if (toSimplified <= toTraditional)
        return Region::Simplified;
    const int taiwan = changes("tw2sp.json", 0, sample);
    const int hongKong = changes("hk2s.json", 0, sample);
    if (taiwan > hongKong)
        return Region::Taiwan;
    if (hongKong > taiwan)
        return Region::HongKong;
    return Region::Traditional;
}

QString ScriptChoice::configurationInto(Region region)
{
    switch (region) {
    case Region::Simplified:
        return QStringLiteral("t2s.json");
    case Region::Taiwan: // with its words: a Taiwan novel writes 軟體
        return QStringLiteral("s2twp.json");
    case Region::HongKong:
        return QStringLiteral("s2hk.json");
    default:
        return QStringLiteral("s2t.json");
    }
}

QString ScriptChoice::keyOf(Script script)
{
    for (const Known &known : KnownScripts) {
        if (known.script == script)
            return QLatin1String(known.key);
    }
    return QString();
}

Script ScriptChoice::fromKey(const QString &key)
{
    for (const Known &known : KnownScripts) {
        if (key == QLatin1String(known.key))
            return known.script;
    }
    return Script::Unchanged;
}
