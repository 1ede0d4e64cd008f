#ifndef CLEANINGRULESDIALOG_H
#define CLEANINGRULESDIALOG_H

#include "CleaningRuleStore.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>

class QTableWidget;

// "净化规则": the built-in rules, to be switched on and off, and the user's
// own, to be written, switched, limited to the book on screen, removed,
// imported and exported; beside each, how often it finds something in the
// book on screen, counted off the GUI thread as the rules are edited.
// Nothing changes until OK, and an expression that is not valid says why
// and keeps the dialog open.
class CleaningRulesDialog : public QDialog
{
    Q_OBJECT

public:
    // fileName: the book on screen (empty: none), read as codec.
    CleaningRulesDialog(CleaningRuleStore *store, const QString &fileName, int codec,
                        QWidget *parent = nullptr);

    void accept() override;

private:
    enum Column { Enabled, Name, Pattern, Replacement, Regex, ThisBook, Count, Columns };

    void createWidgets();
    QWidget *createButtons();
    void fillTable();
    void addRow(const CleaningRule &rule, bool builtIn, const QString &scope);
    void addRule();
    void removeRule();
    void importRules();
    void exportRules();
    QVector<CleaningRuleStore::UserRule> userRules() const;
    CleaningRule ruleAt(int row) const;
    bool isBuiltIn(int row) const;
    void countLater();
    void count();
    void showCounts();
    QString firstInvalid() const;

    CleaningRuleStore *m_store; // not owned
    QString m_fileName;
    int m_codec;
    QTableWidget *m_table;
    QTimer m_countTimer;
    QFutureWatcher<QVector<int>> m_counting;
};

#endif // CLEANINGRULESDIALOG_H
