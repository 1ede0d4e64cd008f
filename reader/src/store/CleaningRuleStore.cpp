#include "CleaningRuleStore.h"

#include "BookmarkConfig.h"
#include "BuiltInRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

const QString RootName = QStringLiteral("净化规则");
const QString VersionName = QStringLiteral("version");
const QString RuleName = QStringLiteral("规则");
const QString SwitchName = QStringLiteral("内置");
const QString NameName = QStringLiteral("名称");
const QString PatternName = QStringLiteral("查找");
const QString ReplacementName = QStringLiteral("替换");
const QString RegexName = QStringLiteral("正则");
const QString EnabledName = QStringLiteral("启用");
const QString FileName = QStringLiteral("文件");

bool flag(const QXmlStreamAttributes &attributes, const QString &name, bool fallback)
{
    const QStringRef value = attributes.value(name);
    return value.isEmpty() ? fallback : value != QLatin1String("0");
}

QString absoluteName(const QString &fileName)
{
    return fileName.isEmpty() ? fileName : QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

} // namespace

CleaningRuleStore::CleaningRuleStore(QObject *parent) : ZkXmlFile(parent) {}

void CleaningRuleStore::readParse(QXmlStreamReader *reader)
{
    rules.clear();
    m_switches.clear();
    if (!reader->readNextStartElement() || reader->name() != RootName) {
        setLoadIncomplete(); // not written over unread
        return;
    }
    while (reader->readNextStartElement()) {
        if (reader->name() == RuleName)
            readRule(reader);
        else if (reader->name() == SwitchName)
            readSwitch(reader);
        reader->skipCurrentElement();
    }
    if (!reader->hasError())
        return;
    // Every rule whole by itself is taken, wherever the damage is.
    rules.clear();
    m_switches.clear();
    readEachElement({RuleName, SwitchName}, [this](QXmlStreamReader *element) {
        if (element->name() == RuleName)
            readRule(element);
        else
            readSwitch(element);
    });
}

// A rule finds something, or it is no rule.
void CleaningRuleStore::readRule(QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    UserRule rule;
    rule.rule.name = attributes.value(NameName).toString();
    rule.rule.pattern = attributes.value(PatternName).toString();
    rule.rule.replacement = attributes.value(ReplacementName).toString();
    rule.rule.regex = flag(attributes, RegexName, false);
    rule.rule.enabled = flag(attributes, EnabledName, true);
    rule.file = absoluteName(attributes.value(FileName).toString());
    if (!rule.rule.pattern.isEmpty())
        rules << rule;
}

void CleaningRuleStore::readSwitch(QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    const QString id = attributes.value(NameName).toString();
    if (BuiltInRules::ids().contains(id) && !attributes.value(EnabledName).isEmpty())
        m_switches.insert(id, flag(attributes, EnabledName, true));
}

void CleaningRuleStore::writeParse(QXmlStreamWriter *writer)
{
    writer->setAutoFormatting(true);
    writer->setCodec("UTF-8");
    writer->writeStartDocument();
    writer->writeStartElement(RootName);
    writer->writeAttribute(VersionName, QStringLiteral("1"));
    for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it) {
        writer->writeEmptyElement(SwitchName);
        writer->writeAttribute(NameName, it.key());
        writer->writeAttribute(EnabledName, it.value() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    for (const UserRule &rule : qAsConst(rules)) {
        writer->writeEmptyElement(RuleName);
        writer->writeAttribute(NameName, BookmarkConfig::writableText(rule.rule.name));
        writer->writeAttribute(PatternName, BookmarkConfig::writableText(rule.rule.pattern));
        writer->writeAttribute(ReplacementName,
                               BookmarkConfig::writableText(rule.rule.replacement));
        writer->writeAttribute(RegexName,
                               rule.rule.regex ? QStringLiteral("1") : QStringLiteral("0"));
        writer->writeAttribute(EnabledName,
                               rule.rule.enabled ? QStringLiteral("1") : QStringLiteral("0"));
        if (!rule.file.isEmpty())
            writer->writeAttribute(FileName, BookmarkConfig::writableText(rule.file));
    }
    writer->writeEndElement();
    writer->writeEndDocument();
}

QVector<CleaningRule> CleaningRuleStore::builtInRules() const
{
    QVector<CleaningRule> builtIn = BuiltInRules::all();
    for (int i = 0; i < builtIn.size(); ++i)
        builtIn[i].enabled = m_switches.value(BuiltInRules::ids().at(i), builtIn[i].enabled);
    return builtIn;
}

// Only a switch away from the shipped state is kept, so that a rule whose
// shipped state changes in a later release follows it unless the user chose.
void CleaningRuleStore::setBuiltInEnabled(int index, bool enabled)
{
    const QString id = BuiltInRules::ids().at(index);
    if (BuiltInRules::all().at(index).enabled == enabled)
        m_switches.remove(id);
    else
        m_switches.insert(id, enabled);
}

QVector<CleaningRule> CleaningRuleStore::rulesFor(const QString &fileName) const
{
    QVector<CleaningRule> applied;
    for (const CleaningRule &rule : builtInRules()) {
        if (rule.enabled)
            applied << rule;
    }
    const QString file = absoluteName(fileName);
    for (const UserRule &rule : rules) {
        if (rule.rule.enabled && (rule.file.isEmpty() || rule.file == file))
            applied << rule.rule;
    }
    return applied;
}

void CleaningRuleStore::switchOff(const QString &name)
{
    const QVector<CleaningRule> builtIn = BuiltInRules::all();
    for (int i = 0; i < builtIn.size(); ++i) {
        if (builtIn.at(i).name == name)
            setBuiltInEnabled(i, false);
    }
    for (UserRule &rule : rules) {
        if (rule.rule.name == name)
            rule.rule.enabled = false;
    }
}

int CleaningRuleStore::importRules(const CleaningRuleStore &other)
{
    int added = 0;
    for (UserRule rule : other.rules) {
        const bool known = std::any_of(rules.cbegin(), rules.cend(), [&rule](const UserRule &own) {
            return own.rule.pattern == rule.rule.pattern &&
                   own.rule.replacement == rule.rule.replacement &&
                   own.rule.regex == rule.rule.regex && own.file == rule.file;
        });
        if (known)
            continue;
        rule.rule.name = freeName(rule.rule.name);
        rules << rule;
        ++added;
    }
    return added;
}

QString CleaningRuleStore::freeName(const QString &name) const
{
    const auto taken = [this](const QString &candidate) {
        return std::any_of(rules.cbegin(), rules.cend(), [&candidate](const UserRule &own) {
            return own.rule.name == candidate;
        });
    };
    QString candidate = name;
    for (int i = 2; taken(candidate); ++i)
        candidate = QCoreApplication::translate("QObject", "%1（%2）").arg(name).arg(i);
    return candidate;
}
