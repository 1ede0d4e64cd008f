#include "ChapterRuleDialog.h"

#include "WorkerPool.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

enum Column { Name, Count, Longest, Columns };

} // namespace

ChapterRuleDialog::ChapterRuleDialog(const QString &text, const ChapterRule &rule, QWidget *parent)
    : QDialog(parent), m_text(text), m_cancelCustom(std::make_shared<std::atomic<bool>>(false)),
      m_cancelNamed(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("chapterRuleDialog"));
    setWindowTitle(QCoreApplication::translate("QObject", "目录规则"));
    createWidgets();
    m_rules->setCurrentItem(m_rules->topLevelItem(rule.kind));
    m_pattern->setText(rule.pattern);
    connect(m_rules, &QTreeWidget::currentItemChanged, this, &ChapterRuleDialog::ruleChosen);
    connect(m_pattern, &QLineEdit::textEdited, this, &ChapterRuleDialog::countCustomLater);
    connect(&m_named, &QFutureWatcher<ChapterIndex::Readings>::finished, this,
            &ChapterRuleDialog::showNamed);
    connect(&m_custom, &QFutureWatcher<ChapterScan>::finished, this,
            &ChapterRuleDialog::showCustom);
    m_customTimer.setSingleShot(true);
    m_customTimer.setInterval(250);
    connect(&m_customTimer, &QTimer::timeout, this, &ChapterRuleDialog::countCustom);
    countNamed();
    if (!rule.pattern.isEmpty())
        countCustom();
    showState();
}

// The jobs hold their own copy of the text and flag; they stop soon.
ChapterRuleDialog::~ChapterRuleDialog()
{
    m_cancelNamed->store(true);
    m_cancelCustom->store(true);
}

void ChapterRuleDialog::createWidgets()
{
    auto *intro =
        new QLabel(QCoreApplication::translate("QObject", "这本书的章节按哪种规则找出："));
    m_rules = new QTreeWidget;
    m_rules->setObjectName(QStringLiteral("ruleList"));
    m_rules->setRootIsDecorated(false);
    m_rules->setColumnCount(Columns);
    m_rules->setHeaderLabels({QCoreApplication::translate("QObject", "规则"),
                              QCoreApplication::translate("QObject", "章节数"),
                              QCoreApplication::translate("QObject", "最长的一章")});
    for (int kind = 0; kind < ChapterRule::KindCount; ++kind) {
        auto *item = new QTreeWidgetItem(m_rules);
        item->setText(Name, ChapterRule::nameOf(ChapterRule::Kind(kind)));
        item->setText(Count, QCoreApplication::translate("QObject", "…"));
    }
    m_rules->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_rules->header()->setStretchLastSection(true);

    m_pattern = new QLineEdit;
    m_pattern->setObjectName(QStringLiteral("edtChapterPattern"));
    m_pattern->setPlaceholderText(QCoreApplication::translate(
        "QObject", "正则表达式，与标题所在的一行相配，例如 ^卷[一二三四五六七八九十]+"));
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("lblRuleMessage"));
    m_message->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_rules);
    layout->addWidget(m_pattern);
    layout->addWidget(m_message);
    layout->addWidget(m_buttons);
    resize(660, 360);
}

ChapterRule ChapterRuleDialog::rule() const
{
    ChapterRule rule;
    rule.kind = ChapterRule::Kind(qMax(0, m_rules->indexOfTopLevelItem(m_rules->currentItem())));
    if (rule.kind == ChapterRule::Custom)
        rule.pattern = m_pattern->text();
    return rule;
}

ChapterScan ChapterRuleDialog::scan() const
{
    return m_scans[rule().kind];
}

void ChapterRuleDialog::countNamed()
{
    const QString text = m_text;
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancelNamed;
    m_named.setFuture(
        WorkerPool::run([text, cancel] { return ChapterIndex::readings(text, cancel.get()); }));
}

void ChapterRuleDialog::showNamed()
{
    const ChapterIndex::Readings readings = m_named.result();
    for (int kind = 0; kind < ChapterRule::Custom; ++kind)
        showRow(kind, ChapterRules::fromReadings(readings, ChapterRule::Kind(kind)));
    showState();
}

// Typing an expression chooses it.
void ChapterRuleDialog::countCustomLater()
{
    m_rules->setCurrentItem(m_rules->topLevelItem(ChapterRule::Custom));
    m_counted[ChapterRule::Custom] = false;
    m_customTimer.start();
    showState();
}

void ChapterRuleDialog::countCustom()
{
    m_cancelCustom->store(true);
    m_cancelCustom = std::make_shared<std::atomic<bool>>(false);
    const QString pattern = m_pattern->text();
    const QString error = ChapterRules::patternError(pattern);
    if (!error.isEmpty()) {
        ChapterScan failed;
        failed.error = error;
        m_countedPattern = pattern;
        showRow(ChapterRule::Custom, failed);
        showState();
        return;
    }
    const QString text = m_text;
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancelCustom;
    ChapterRule rule;
    rule.kind = ChapterRule::Custom;
    rule.pattern = pattern;
    m_countedPattern = pattern;
    m_custom.setFuture(WorkerPool::run(
        [text, rule, cancel] { return ChapterRules::scan(text, rule, cancel.get()); }));
}

void ChapterRuleDialog::showCustom()
{
    const ChapterScan scan = m_custom.result();
    if (scan.cancelled || m_countedPattern != m_pattern->text())
        return;
    showRow(ChapterRule::Custom, scan);
    showState();
}

void ChapterRuleDialog::showRow(int kind, const ChapterScan &scan)
{
    m_scans[kind] = scan;
    m_counted[kind] = true;
    QTreeWidgetItem *item = m_rules->topLevelItem(kind);
    if (!scan.error.isEmpty()) {
        item->setText(Count, QCoreApplication::translate("QObject", "无法使用"));
        item->setText(Longest, QString());
        return;
    }
    item->setText(Count, QString::number(scan.chapters.size()));
    int row = -1;
    const int longest = scan.longest(&row);
    item->setText(Longest, row < 0 ? QString()
                                   : QCoreApplication::translate("QObject", "%1 字（%2）")
                                         .arg(longest)
                                         .arg(scan.chapters[row].title));
}

void ChapterRuleDialog::ruleChosen()
{
    if (rule().kind == ChapterRule::Custom && !m_counted[ChapterRule::Custom] &&
        !m_customTimer.isActive())
        countCustom();
    showState();
}

// OK only for a rule counted without a fault.
void ChapterRuleDialog::showState()
{
    const int kind = rule().kind;
    QString message;
    if (kind == ChapterRule::Custom && !m_counted[kind])
        message = m_pattern->text().isEmpty()
                      ? QCoreApplication::translate("QObject", "请写一个正则表达式。")
                      : QCoreApplication::translate("QObject", "正在计算……");
    else if (!m_scans[kind].error.isEmpty())
        message = m_scans[kind].error;
    else if (!m_counted[kind])
        message = QCoreApplication::translate("QObject", "正在计算……");
    m_message->setText(message);
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(m_counted[kind] && m_scans[kind].error.isEmpty());
}
