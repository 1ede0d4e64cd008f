#include "THistoryFileMenu.h"

#include "Config.h"
#include "ProgramConstants.h"
#include "ZkDynamicMenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
    m_menu->setToolTipsVisible(true);
    m_dynamicMenu->setMenu(m_menu);
    m_dynamicMenu->m_maxCount = MaxFiles;
    QAction *clearAction =
        m_menu->addAction(QCoreApplication::translate("QObject", "清除文件列表"));
    connect(clearAction, &QAction::triggered, this, &THistoryFileMenu::clearMenu);
    m_menu->addSeparator();
    m_shelfSeparator = new QAction(m_menu);
    m_shelfSeparator->setSeparator(true);
    m_shelfAction = new QAction(QCoreApplication::translate("QObject", "书架…"), m_menu);
    m_shelfAction->setObjectName(QStringLiteral("actShelf"));
    connect(m_shelfAction, &QAction::triggered, this, &THistoryFileMenu::shelfRequested);
    showList();
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

// A list edited by hand may name a file twice or hold more than twenty:
// the first (newest) naming of each counts, and the first twenty files.
void THistoryFileMenu::loadList(const QStringList &list)
{
    m_fileList.clear();
    for (const QString &path : list) {
        if (!path.isEmpty() && !m_fileList.contains(path) && m_fileList.size() < MaxFiles)
            m_fileList << path;
    }
    showList();
}

// A file opened again moves to the top rather than taking a second entry,
// which would push a book out of the list.
void THistoryFileMenu::addFile(const QString &path)
{
    m_fileList.removeAll(path);
    m_fileList.prepend(path);
    while (m_fileList.size() > MaxFiles)
        m_fileList.removeLast();
    showList();
    saveList();
}

// Entries show the file's name; two books of the same name tell their
// folders apart.
void THistoryFileMenu::showList()
{
    m_dynamicMenu->clear();
    m_menu->removeAction(m_shelfSeparator);
    m_menu->removeAction(m_shelfAction);
    QStringList names;
    for (const QString &path : qAsConst(m_fileList))
        names << QFileInfo(path).fileName();
    for (int i = 0; i < m_fileList.size(); ++i) {
        const QFileInfo file(m_fileList.at(i));
        QString text = names.at(i);
        if (names.count(text) > 1)
            text += QStringLiteral(" (") + file.dir().dirName() + QLatin1Char(')');
        m_dynamicMenu->add(text, true, true);
        QAction *entry = m_menu->actions().constLast();
        entry->setData(m_fileList.at(i));
        entry->setToolTip(QDir::toNativeSeparators(m_fileList.at(i)));
    }
    m_menu->addAction(m_shelfSeparator);
    m_menu->addAction(m_shelfAction);
}

// Reopened with detection of the encoding, and without moving the entry.
void THistoryFileMenu::menuClick(QAction *action)
{
    OpenRequest request;
    request.fileName = action->data().toString();
    request.listed = false;
    emit openRequested(request);
}

void THistoryFileMenu::clearMenu()
{
    if (m_fileList.isEmpty())
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        m_parentWidget, QCoreApplication::translate("QObject", "清除文件列表"),
        QCoreApplication::translate("QObject", "是否清除文件列表？"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    m_fileList.clear();
    showList();
    saveList();
}

void THistoryFileMenu::saveList()
{
    assert(m_config != NULL);
    Config::fileList = m_fileList;
    m_config->save(configFilePath());
}
