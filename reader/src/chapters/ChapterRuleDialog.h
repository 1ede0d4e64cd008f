#ifndef CHAPTERRULEDIALOG_H
#define CHAPTERRULEDIALOG_H

#include "ChapterRule.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>

#include <memory>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

// "目录规则": the rule the book on screen finds its chapters by. Offers the
// automatic choice, the named readings and an expression of the reader's
// own, each with how many chapters it gives in the text and how long the
// longest is, counted off the GUI thread (the expression as it is typed).
// An expression that is not valid, or that goes past the bound of a match,
// says why and cannot be chosen.
class ChapterRuleDialog : public QDialog
{
    Q_OBJECT

public:
    // text: the text on screen; rule: the one it is read by now.
    ChapterRuleDialog(const QString &text, const ChapterRule &rule, QWidget *parent = nullptr);
    ~ChapterRuleDialog() override;

    ChapterRule rule() const;
    // What the chosen rule found, in positions of the text handed over.
    ChapterScan scan() const;

private:
    void createWidgets();
    void countNamed();
    void showNamed();
    void countCustomLater();
    void countCustom();
    void showCustom();
    void showRow(int kind, const ChapterScan &scan);
    void ruleChosen();
    void showState();

    QString m_text;
    QTreeWidget *m_rules;
    QLineEdit *m_pattern;
    QLabel *m_message;
    QDialogButtonBox *m_buttons;
    QTimer m_customTimer;
    QFutureWatcher<ChapterIndex::Readings> m_named;
    QFutureWatcher<ChapterScan> m_custom;
    std::shared_ptr<std::atomic<bool>> m_cancelCustom;
    std::shared_ptr<std::atomic<bool>> m_cancelNamed;
    ChapterScan m_scans[ChapterRule::KindCount];
    bool m_counted[ChapterRule::KindCount] = {};
    QString m_countedPattern;
};

#endif // CHAPTERRULEDIALOG_H
