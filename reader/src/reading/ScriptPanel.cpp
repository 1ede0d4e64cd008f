#include "ScriptPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>

namespace
{

// In the order of Script, whose values are the rows.
QStringList scriptNames()
{
    return {QCoreApplication::translate("QObject", "不转换"),
            QCoreApplication::translate("QObject", "转为简体"),
            QCoreApplication::translate("QObject", "转为繁体"),
            QCoreApplication::translate("QObject", "转为繁体（台湾）"),
            QCoreApplication::translate("QObject", "转为繁体（台湾常用词）"),
            QCoreApplication::translate("QObject", "转为繁体（香港）")};
}

} // namespace

ScriptPanel::ScriptPanel(QWidget *parent) : QWidget(parent), m_menu(new QMenu)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_cbbBook = newScriptBox(QStringLiteral("cbbScriptBook"));
    m_cbbBook->setToolTip(QCoreApplication::translate(
        "QObject", "本书以简体或繁体显示：按词语转换，文件本身不会被改动"));
    m_cbbDefault = newScriptBox(QStringLiteral("cbbScriptDefault"));
    m_cbbDefault->setToolTip(
        QCoreApplication::translate("QObject", "第一次打开的书以简体或繁体显示"));
    layout->addWidget(new QLabel(QCoreApplication::translate("QObject", "简繁："), this));
    layout->addWidget(m_cbbBook);
    layout->addWidget(new QLabel(QCoreApplication::translate("QObject", "新书："), this));
    layout->addWidget(m_cbbDefault);
    layout->addStretch();
    connect(m_cbbBook, QOverload<int>::of(&QComboBox::activated), this,
            [this](int row) { emit bookScriptChanged(Script(row)); });
    connect(m_cbbDefault, QOverload<int>::of(&QComboBox::activated), this,
            [this](int row) { emit defaultScriptChanged(Script(row)); });
    createMenu();
}

ScriptPanel::~ScriptPanel()
{
    delete m_menu;
}

QComboBox *ScriptPanel::newScriptBox(const QString &name)
{
    auto *box = new QComboBox(this);
    box->setObjectName(name);
    box->addItems(scriptNames());
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

void ScriptPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit choicesShown();
}

void ScriptPanel::createMenu()
{
    connect(m_menu, &QMenu::aboutToShow, this, &ScriptPanel::choicesShown);
    m_bookActions = new QActionGroup(m_menu);
    const QStringList names = scriptNames();
    for (int row = 0; row < names.size(); ++row) {
        QAction *action = m_menu->addAction(names.at(row));
        action->setCheckable(true);
        m_bookActions->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, row] { emit bookScriptChanged(Script(row)); });
    }
}

void ScriptPanel::placeButton(QWidget *place)
{
    auto *layout = new QHBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    m_button = new QToolButton(place);
    m_button->setObjectName(QStringLiteral("btnScript"));
    m_button->setText(QCoreApplication::translate("QObject", "简繁"));
    m_button->setToolTip(QCoreApplication::translate("QObject", "本书以简体或繁体显示"));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setMenu(m_menu);
    layout->addWidget(m_button);
    layout->addStretch();
}

void ScriptPanel::showChoices(Script book, Script byDefault, bool hasBook)
{
    const QSignalBlocker bookBlocker(m_cbbBook);
    const QSignalBlocker defaultBlocker(m_cbbDefault);
    m_cbbBook->setCurrentIndex(int(book));
    m_cbbBook->setEnabled(hasBook);
    m_cbbDefault->setCurrentIndex(int(byDefault));
    m_bookActions->actions().at(int(book))->setChecked(true);
    m_menu->setEnabled(hasBook);
    if (m_button != nullptr)
        m_button->setEnabled(hasBook);
}
