#include "CleaningRulesDialog.h"

#include "BoundedRegex.h"
#include "BuiltInRules.h"
#include "RuleCleaner.h"
#include "WorkerPool.h"
#include "ZkTextDecoder.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

// How often each rule finds something in the file, each as the only one.
QVector<int> countInFile(const QString &fileName, int codec, const QVector<CleaningRule> &rules)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QVector<int>(rules.size(), -1);
    const QByteArray bytes = file.readAll();
    int detected = codec;
    QString text = codec < 0 ? ZkTextDecoder::decodeText(bytes, &detected)
                             : ZkTextDecoder::decode(bytes, codec);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QVector<int> counts;
    for (CleaningRule rule : rules) {
        rule.enabled = true;
        RuleCleaner cleaner({rule});
        counts << cleaner.count(text).value(0, -1);
    }
    return counts;
}

QTableWidgetItem *checkItem(bool checked, bool editable)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | (editable ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QTableWidgetItem *textItem(const QString &text, bool editable)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   (editable ? Qt::ItemIsEditable : Qt::NoItemFlags));
    return item;
}

} // namespace

CleaningRulesDialog::CleaningRulesDialog(CleaningRuleStore *store, const QString &fileName,
                                         int codec, QWidget *parent)
    : QDialog(parent), m_store(store), m_fileName(fileName), m_codec(codec)
{
    setWindowTitle(tr("净化规则"));
    createWidgets();
    fillTable();
    m_countTimer.setSingleShot(true);
    m_countTimer.setInterval(300);
    connect(&m_countTimer, &QTimer::timeout, this, &CleaningRulesDialog::count);
    connect(&m_counting, &QFutureWatcher<QVector<int>>::finished, this,
            &CleaningRulesDialog::showCounts);
    connect(m_table, &QTableWidget::itemChanged, this, &CleaningRulesDialog::countLater);
    // The first rule's switch, so that Space turns it at once.
    m_table->setCurrentCell(0, Enabled);
    count();
}

void CleaningRulesDialog::createWidgets()
{
    m_table = new QTableWidget(0, Columns, this);
    m_table->setObjectName(QStringLiteral("tblRules"));
    m_table->setHorizontalHeaderLabels({tr("启用"), tr("名称"), tr("查找"), tr("替换为"),
                                        tr("正则"), tr("只用于本书"), tr("本书中")});
    QHeaderView *header = m_table->horizontalHeader();
    for (const Column column : {Enabled, Name, Regex, ThisBook, Count})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Pattern, QHeaderView::Stretch);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(createButtons());
    resize(860, 480);
}

QWidget *CleaningRulesDialog::createButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [row, layout](const char *name, const QString &text) {
        auto *button = new QPushButton(text, row);
        button->setObjectName(QLatin1String(name));
        layout->addWidget(button);
        return button;
    };
    connect(button("btnAddRule", tr("添加规则")), &QPushButton::clicked, this,
            &CleaningRulesDialog::addRule);
    connect(button("btnRemoveRule", tr("删除规则")), &QPushButton::clicked, this,
            &CleaningRulesDialog::removeRule);
    connect(button("btnImportRules", tr("导入…")), &QPushButton::clicked, this,
            &CleaningRulesDialog::importRules);
    connect(button("btnExportRules", tr("导出…")), &QPushButton::clicked, this,
            &CleaningRulesDialog::exportRules);
    layout->addStretch();
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, row);
    connect(box, &QDialogButtonBox::accepted, this, &CleaningRulesDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CleaningRulesDialog::reject);
    layout->addWidget(box);
    return row;
}

void CleaningRulesDialog::fillTable()
{
    const QSignalBlocker blocker(m_table);
    m_table->setRowCount(0);
    for (const CleaningRule &rule : m_store->builtInRules())
        addRow(rule, true, QString());
    for (const CleaningRuleStore::UserRule &rule : m_store->rules)
        addRow(rule.rule, false, rule.file);
}

// scope: the one file the rule is for, empty for every book. A rule for
// another book stays that book's, and says which.
void CleaningRulesDialog::addRow(const CleaningRule &rule, bool builtIn, const QString &scope)
{
    const QSignalBlocker blocker(m_table);
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, Enabled, checkItem(rule.enabled, true));
    m_table->setItem(row, Name, textItem(rule.name, !builtIn));
    m_table->setItem(row, Pattern, textItem(rule.pattern, !builtIn));
    m_table->setItem(row, Replacement, textItem(rule.replacement, !builtIn));
    m_table->setItem(row, Regex, checkItem(rule.regex, !builtIn));
    QTableWidgetItem *scopeItem =
        checkItem(!scope.isEmpty(), !builtIn && (!m_fileName.isEmpty() || !scope.isEmpty()));
    scopeItem->setData(Qt::UserRole, scope);
    if (!scope.isEmpty() && scope != m_fileName) {
        scopeItem->setText(QFileInfo(scope).fileName());
        scopeItem->setToolTip(scope);
    }
    m_table->setItem(row, ThisBook, scopeItem);
    m_table->setItem(row, Count, textItem(QString(), false));
    m_table->item(row, Name)->setData(Qt::UserRole, builtIn);
}

bool CleaningRulesDialog::isBuiltIn(int row) const
{
    return m_table->item(row, Name)->data(Qt::UserRole).toBool();
}

CleaningRule CleaningRulesDialog::ruleAt(int row) const
{
    CleaningRule rule;
    rule.enabled = m_table->item(row, Enabled)->checkState() == Qt::Checked;
    rule.name = m_table->item(row, Name)->text();
    rule.pattern = m_table->item(row, Pattern)->text();
    rule.replacement = m_table->item(row, Replacement)->text();
    rule.regex = m_table->item(row, Regex)->checkState() == Qt::Checked;
    return rule;
}

QVector<CleaningRuleStore::UserRule> CleaningRulesDialog::userRules() const
{
    QVector<CleaningRuleStore::UserRule> rules;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (isBuiltIn(row) || m_table->item(row, Pattern)->text().isEmpty())
            continue;
        const QTableWidgetItem *scope = m_table->item(row, ThisBook);
        const QString file = scope->data(Qt::UserRole).toString();
        const bool limited = scope->checkState() == Qt::Checked;
        rules.append({ruleAt(row), limited ? (file.isEmpty() ? m_fileName : file) : QString()});
    }
    return rules;
}

void CleaningRulesDialog::addRule()
{
    CleaningRule rule;
    rule.name = tr("新规则");
    addRow(rule, false, QString());
    m_table->setCurrentCell(m_table->rowCount() - 1, Pattern);
    m_table->editItem(m_table->item(m_table->rowCount() - 1, Pattern));
}

void CleaningRulesDialog::removeRule()
{
    const int row = m_table->currentRow();
    if (row >= 0 && !isBuiltIn(row)) {
        m_table->removeRow(row);
        countLater();
    }
}

// Added to the rules here, never in the place of one; nothing is saved
// before OK.
void CleaningRulesDialog::importRules()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("导入净化规则"), QString(),
                                                      tr("净化规则 (*.xml);;全部文件(*)"));
    if (path.isEmpty())
        return;
    CleaningRuleStore imported;
    imported.load(path);
    CleaningRuleStore mine;
    mine.rules = userRules();
    const int added = mine.importRules(imported);
    for (int i = mine.rules.size() - added; i < mine.rules.size(); ++i)
        addRow(mine.rules.at(i).rule, false, mine.rules.at(i).file);
    QMessageBox::information(this, tr("导入净化规则"), tr("导入了 %1 条规则。").arg(added));
    countLater();
}

void CleaningRulesDialog::exportRules()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("导出净化规则"), QString(), tr("净化规则 (*.xml)"));
    if (path.isEmpty())
        return;
    CleaningRuleStore exported;
    exported.rules = userRules();
    if (!exported.save(path))
        QMessageBox::warning(this, tr("导出净化规则"), tr("无法保存到 %1。").arg(path));
}

void CleaningRulesDialog::countLater()
{
    m_countTimer.start();
}

void CleaningRulesDialog::count()
{
    if (m_fileName.isEmpty())
        return;
    QVector<CleaningRule> rules;
    for (int row = 0; row < m_table->rowCount(); ++row)
        rules << ruleAt(row);
    const QString fileName = m_fileName;
    const int codec = m_codec;
    m_counting.setFuture(
        WorkerPool::run([fileName, codec, rules] { return countInFile(fileName, codec, rules); }));
}

void CleaningRulesDialog::showCounts()
{
    const QVector<int> counts = m_counting.result();
    const QSignalBlocker blocker(m_table);
    for (int row = 0; row < m_table->rowCount() && row < counts.size(); ++row) {
        const CleaningRule rule = ruleAt(row);
        QString text = QString::number(counts.at(row));
        if (rule.regex && !BoundedRegex(rule.pattern).isValid())
            text = tr("无效");
        else if (counts.at(row) < 0)
            text = tr("超出上限");
        m_table->item(row, Count)->setText(text);
    }
}

QString CleaningRulesDialog::firstInvalid() const
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const CleaningRule rule = ruleAt(row);
        if (isBuiltIn(row) || !rule.regex || rule.pattern.isEmpty())
            continue;
        const BoundedRegex regex(rule.pattern);
        if (!regex.isValid())
            return tr("规则“%1”的正则表达式无效：%2（第 %3 个字符）")
                .arg(rule.name, regex.errorString())
                .arg(regex.errorOffset() + 1);
    }
    return QString();
}

void CleaningRulesDialog::accept()
{
    const QString invalid = firstInvalid();
    if (!invalid.isEmpty()) {
        QMessageBox::warning(this, tr("净化规则"), invalid);
        return;
    }
    const QVector<CleaningRule> builtIn = m_store->builtInRules();
    for (int row = 0; row < builtIn.size(); ++row)
        m_store->setBuiltInEnabled(row, ruleAt(row).enabled);
    m_store->rules = userRules();
    QDialog::accept();
}
