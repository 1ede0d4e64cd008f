#include "ZkSkin.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QResource>

#include <cassert>

namespace
{

const char SkinSuffix[] = ".skin";

} // namespace

ZkSkin::ZkSkin(QObject *parent)
    : QObject(parent), m_menu(new QMenu), m_app(nullptr), m_systemAction(nullptr),
      m_group(new QActionGroup(this))
{
}

ZkSkin::~ZkSkin()
{
    delete m_menu;
}

void ZkSkin::init(QApplication *app, const QString &dir, const QString &title,
                  const QString &systemName)
{
    assert(app != NULL);
    m_menuTitle = title;
    m_systemName = systemName;
    m_app = app;
    // Skin paths are the folder with the file name appended; without the
    // separator every listed skin would point beside its folder and silently
    // fall back to the plain look.
    m_skinDir = dir;
    if (!m_skinDir.isEmpty() && !m_skinDir.endsWith(QLatin1Char('/')) &&
        !m_skinDir.endsWith(QDir::separator()))
        m_skinDir += QLatin1Char('/');

    const QStringList files = QDir(dir).entryList(
        QStringList(QLatin1Char('*') + QLatin1String(SkinSuffix)), QDir::Files, QDir::Name);
    m_skinNames = QStringList(systemName);
    for (const QString &file : files)
        m_skinNames.append(QFileInfo(file).baseName());
    initMenu();
}

void ZkSkin::initMenu()
{
    m_menu->setTitle(m_menuTitle);
    m_systemAction = m_menu->addAction(m_systemName);
    m_group->addAction(m_systemAction);
    connect(m_group, &QActionGroup::triggered, this, &ZkSkin::menuClick);
    for (int i = 1; i < m_skinNames.size(); ++i)
        m_group->addAction(m_menu->addAction(m_skinNames.at(i)));
    menuClick(m_systemAction);
}

void ZkSkin::setSkinName(const QString &name)
{
    const QString oldPath = m_skinDir + m_skinName + QLatin1String(SkinSuffix);
    const QString newPath = m_skinDir + name + QLatin1String(SkinSuffix);
    m_skinName = name;
    QResource::unregisterResource(oldPath);
    if (!name.isEmpty()) {
        const QList<QAction *> actions = m_group->actions();
        for (QAction *action : actions) {
            if (action->text() == name) {
                setActionCheck(action, true);
                break;
            }
        }
        initStyleSheet(newPath);
    } else {
        setSystemStyleSheet();
    }
    emit skinChange(name);
}

void ZkSkin::initStyleSheet(const QString &path)
{
    if (!QResource::registerResource(path)) {
        setSystemStyleSheet();
        return;
    }
    QFile file(QStringLiteral(":/zk_skin/skin.qss"));
    QByteArray sheet;
    if (file.open(QIODevice::ReadOnly))
        sheet = file.readAll();
    // Style sheets are written in UTF-8 and end at the first zero byte, as a
    // C string would.
    const int end = sheet.indexOf('\0');
    m_app->setStyleSheet(QString::fromUtf8(sheet.constData(), end < 0 ? sheet.size() : end));
}

void ZkSkin::setSystemStyleSheet()
{
    m_app->setStyleSheet(QString());
    setActionCheck(m_systemAction, true);
}

void ZkSkin::setActionCheck(QAction *action, bool on)
{
    action->setCheckable(on);
    action->setChecked(on);
}

void ZkSkin::menuClick(QAction *action)
{
    setSkinName(action == m_systemAction ? QString() : action->text());
}
