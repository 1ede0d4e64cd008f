#include "TextCleanupPanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>

TextCleanupPanel::TextCleanupPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_cbTidyBook = new QCheckBox(QCoreApplication::translate("QObject", "段落整理"), this);
    m_cbTidyBook->setObjectName(QStringLiteral("cbTidyBook"));
    m_cbTidyBook->setToolTip(QCoreApplication::translate(
        "QObject", "本书：去掉段落之间的空行，段首缩进两个全角空格，接上被网站断开的行"));
    m_cbTidyDefault = new QCheckBox(QCoreApplication::translate("QObject", "新书也整理"), this);
    m_cbTidyDefault->setObjectName(QStringLiteral("cbTidyDefault"));
    m_cbTidyDefault->setToolTip(QCoreApplication::translate("QObject", "第一次打开的书也整理段落"));
    m_btnRules = new QPushButton(QCoreApplication::translate("QObject", "净化规则…"), this);
    m_btnRules->setObjectName(QStringLiteral("btnCleaningRules"));
    m_btnRules->setToolTip(
        QCoreApplication::translate("QObject", "去掉水印、网址和网页残留；文件本身不会被改动"));
    layout->addWidget(m_cbTidyBook);
    layout->addWidget(m_cbTidyDefault);
    layout->addWidget(m_btnRules);
    layout->addStretch();
    connect(m_cbTidyBook, &QCheckBox::toggled, this, &TextCleanupPanel::tidyBookChanged);
    connect(m_cbTidyDefault, &QCheckBox::toggled, this, &TextCleanupPanel::tidyByDefaultChanged);
    connect(m_btnRules, &QPushButton::clicked, this, &TextCleanupPanel::rulesRequested);
}

void TextCleanupPanel::showChoices(bool tidyBook, bool tidyByDefault, bool hasBook)
{
    const QSignalBlocker bookBlocker(m_cbTidyBook);
    const QSignalBlocker defaultBlocker(m_cbTidyDefault);
    m_cbTidyBook->setChecked(tidyBook);
    m_cbTidyBook->setEnabled(hasBook);
    m_cbTidyDefault->setChecked(tidyByDefault);
}
