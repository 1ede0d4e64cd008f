#ifndef CLEANINGRULESTORE_H
#define CLEANINGRULESTORE_H

#include "TransformOptions.h"
#include "ZkXmlFile.h"

#include <QMap>
#include <QString>
#include <QVector>

// The cleaning rules of CleaningRules.xml: the user's own, each for every
// book or for one file, and the built-in ones as the user switched them
// (those not switched are as shipped). Replaced whole like every settings
// file, and a damaged one gives up no rule that is whole by itself. The same
// form serves to export rules and to import them.
class CleaningRuleStore : public ZkXmlFile
{
    Q_OBJECT

public:
    struct UserRule {
        CleaningRule rule;
        QString file; // absolute; empty: every book
    };

    explicit CleaningRuleStore(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;

    // The built-in rules, each switched as the user left it.
    QVector<CleaningRule> builtInRules() const;
    void setBuiltInEnabled(int index, bool enabled);
    // What opening fileName applies: the built-in rules switched on, then the
    // user's rules for every book and for that file, in their order.
    QVector<CleaningRule> rulesFor(const QString &fileName) const;
    // A rule that failed on a text is switched off, wherever it stands.
    void switchOff(const QString &name);
    // Adds the rules of another store: one like a rule of the user's is
    // passed over, one named like it under another name; none is replaced.
    // The number added.
    int importRules(const CleaningRuleStore &other);

    QVector<UserRule> rules; // the user's, in the order they apply

private:
    void readRule(QXmlStreamReader *reader);
    void readSwitch(QXmlStreamReader *reader);
    QString freeName(const QString &name) const;

    QMap<QString, bool> m_switches; // built-in id: enabled, where changed
};

#endif // CLEANINGRULESTORE_H
