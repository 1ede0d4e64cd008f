#ifndef ZKDYNAMICMENU_H
#define ZKDYNAMICMENU_H

#include "zkkit_export.h"

#include <QObject>

#include <list>

class QAction;
class QMenu;
class QString;
class QStringList;

// Keeps the changing lower part of a menu: a block of text entries (recent
// files, bookmarks) below the fixed entries its owner put in first. The menu
// and the owner's actions stay the owner's; only the entries made here from a
// text belong to this object, and those are released once they leave the menu.
class ZKKIT_EXPORT ZkDynamicMenu : public QObject
{
    Q_OBJECT

public:
    explicit ZkDynamicMenu(QObject *parent = nullptr);
    ~ZkDynamicMenu() override;

    // The owner adds its fixed entries before the first managed one, so that
    // the managed entries stay one block at the bottom.
    void setMenu(QMenu *menu);
    // No bound is applied here; add() is the bounded way in.
    void insert(QAction *action, bool atEnd);
    void remove(bool fromEnd);
    // Appends to what list already holds.
    void menuTextList(QStringList &list);
    void clear();
    void add(QAction *action, bool atEnd, bool removeFromEnd);
    void add(const QString &text, bool atEnd, bool removeFromEnd);
    void add(const QStringList &texts, bool atEnd, bool removeFromEnd);

    // Bound on the managed entries, set by the owner: negative means none, 0
    // keeps the block empty, otherwise the entries at the removeFromEnd side
    // of add() make room for the new one.
    int m_maxCount;

signals:
    void menuClick(QAction *action);

private slots:
    void menuActionClick(QAction *action);

private:
    void release(QAction *action);

    QMenu *m_menu;                  // not owned
    std::list<QAction *> m_actions; // managed entries, top first; not owned
};

#endif // ZKDYNAMICMENU_H
