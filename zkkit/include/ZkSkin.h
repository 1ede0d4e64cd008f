#ifndef ZKSKIN_H
#define ZKSKIN_H

#include "zkkit_export.h"

#include <QObject>
#include <QStringList>

class QAction;
class QActionGroup;
class QApplication;
class QMenu;

// Lets an application switch its look among skins: files named "*.skin" in
// one folder, each a binary resource file (rcc --binary) that carries the
// style sheet ":/zk_skin/skin.qss". The owner puts m_menu into its own menus
// and may remember the choice announced by skinChange() to restore it with
// setSkinName() at the next start.
class ZKKIT_EXPORT ZkSkin : public QObject
{
    Q_OBJECT

public:
    explicit ZkSkin(QObject *parent = nullptr);
    ~ZkSkin() override;

    // Lists the skins of dir (sorted by file name, case-sensitively), builds
    // the menu once and applies the plain look, named systemName in the menu.
    void init(QApplication *app, const QString &dir, const QString &title,
              const QString &systemName);
    void initMenu();
    // The empty name selects the plain look.
    void setSkinName(const QString &name);
    // A file that cannot be registered as a resource gives the plain look.
    void initStyleSheet(const QString &path);
    void setSystemStyleSheet();
    void setActionCheck(QAction *action, bool on);

    QString m_skinName;
    QString m_skinDir; // ends with a separator: skin paths are formed by appending
    QStringList m_skinNames;
    QMenu *m_menu;       // owned; made without a parent so the owner can place it anywhere
    QApplication *m_app; // not owned
    QString m_menuTitle;
    QString m_systemName;
    QAction *m_systemAction; // owned by m_menu
    QActionGroup *m_group;   // Qt child

signals:
    void skinChange(const QString &skinName);

private slots:
    void menuClick(QAction *action);
};

#endif // ZKSKIN_H
