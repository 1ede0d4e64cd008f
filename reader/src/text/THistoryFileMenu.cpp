#include "THistoryFileMenu.h"

#include "Config.h"
#include "ProgramConstants.h"
#include "ZkDynamicMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <cassert>

namespace
{

const int MaxFiles = 20;

// Shows a path as it is: an "&" in it is a character, not the mark of a
// keyboard mnemonic. Only the drawing escapes it, so the entry's text stays
// the path that is reopened and saved.
class LiteralTextStyle : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element != CE_MenuItem || item == nullptr)
            return QProxyStyle::drawControl(element, option, painter, widget);
        QStyleOptionMenuItem literal(*item);
        literal.text.replace(QLatin1Char('&'), QLatin1String("&&"));
        QProxyStyle::drawControl(element, &literal, painter, widget);
    }

    // The menu measured the text with each "&" taken for a mnemonic mark.
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (type == CT_MenuItem && item != nullptr)
            result.rwidth() += item->fontMetrics.horizontalAdvance(QLatin1Char('&')) *
                               item->text.count(QLatin1Char('&'));
        return result;
    }
};

} // namespace

THistoryFileMenu::THistoryFileMenu(QObject *parent)
    : QObject(parent), m_dynamicMenu(new ZkDynamicMenu(this)), m_menu(new QMenu)
{
    auto *style = new LiteralTextStyle;
    style->setParent(this); // outlives the menu, which the destructor deletes first
    m_menu->setStyle(style);
    m_dynamicMenu->setMenu(m_menu);
    m_dynamicMenu->m_maxCount = MaxFiles;
    QAction *clearAction =
        m_menu->addAction(QCoreApplication::translate("QObject", "清除文件列表"));
    connect(clearAction, &QAction::triggered, this, &THistoryFileMenu::clearMenu);
    m_menu->addSeparator();
    connect(m_dynamicMenu, &ZkDynamicMenu::menuClick, this, &THistoryFileMenu::menuClick);
}

THistoryFileMenu::~THistoryFileMenu()
{
    delete m_menu;
}

void THistoryFileMenu::setConfig(Config *config)
{
    m_config = config;
}

void THistoryFileMenu::setParentWidget(QWidget *widget)
{
    m_parentWidget = widget;
}

// Added from the bottom of the list up, each on top, so that a list edited by
// hand to more than twenty paths keeps its first (newest) twenty.
void THistoryFileMenu::loadList(const QStringList &list)
{
    m_dynamicMenu->clear();
    for (auto path = list.crbegin(); path != list.crend(); ++path)
        m_dynamicMenu->add(*path, false, true);
}

// A path opened again is listed again: the list is a history, not a set.
void THistoryFileMenu::addFile(const QString &path)
{
    m_fileList.clear();
    m_dynamicMenu->add(path, false, true);
    m_dynamicMenu->menuTextList(m_fileList);
    saveList();
}

// Reopened with detection of the encoding, and without moving the entry.
void THistoryFileMenu::menuClick(QAction *action)
{
    OpenRequest request;
    request.fileName = action->text();
    request.listed = false;
    emit openRequested(request);
}

void THistoryFileMenu::clearMenu()
{
    // What the menu shows counts, not m_fileList: a list restored at start
    // can be cleared before any file is opened.
    QStringList listed;
    m_dynamicMenu->menuTextList(listed);
    if (listed.isEmpty())
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        m_parentWidget, QCoreApplication::translate("QObject", "清除文件列表"),
        QCoreApplication::translate("QObject", "是否清除文件列表？"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    m_dynamicMenu->clear();
    m_fileList.clear();
    saveList();
}

void THistoryFileMenu::saveList()
{
    assert(m_config != NULL);
    Config::fileList = m_fileList;
    m_config->save(configFilePath());
}
