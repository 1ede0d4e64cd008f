#include "ZkDynamicMenu.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

#include <cassert>

namespace
{

// Marks the actions made from a text, the only ones this object may release.
const char MadeHereProperty[] = "zkDynamicMenuMadeHere";

} // namespace

ZkDynamicMenu::ZkDynamicMenu(QObject *parent) : QObject(parent), m_maxCount(-1), m_menu(nullptr)
{
    // so that menuClick can also be queued or recorded by a signal spy
    qRegisterMetaType<QAction *>();
}

ZkDynamicMenu::~ZkDynamicMenu() = default;

void ZkDynamicMenu::setMenu(QMenu *menu)
{
    assert(menu != NULL);
    if (m_menu)
        disconnect(m_menu, &QMenu::triggered, this, &ZkDynamicMenu::menuActionClick);
    m_menu = menu;
    connect(m_menu, &QMenu::triggered, this, &ZkDynamicMenu::menuActionClick);
}

void ZkDynamicMenu::insert(QAction *action, bool atEnd)
{
    assert(m_menu != NULL);
    if (atEnd || m_actions.empty()) {
        m_menu->addAction(action);
    } else {
        m_menu->insertAction(m_actions.front(), action);
    }
    if (atEnd)
        m_actions.push_back(action);
    else
        m_actions.push_front(action);
}

void ZkDynamicMenu::remove(bool fromEnd)
{
    if (m_actions.empty())
        return;
    QAction *action = fromEnd ? m_actions.back() : m_actions.front();
    if (fromEnd)
        m_actions.pop_back();
    else
        m_actions.pop_front();
    m_menu->removeAction(action);
    release(action);
}

void ZkDynamicMenu::menuTextList(QStringList &list)
{
    for (QAction *action : m_actions)
        list.append(action->text());
}

void ZkDynamicMenu::clear()
{
    const std::list<QAction *> actions = std::move(m_actions);
    m_actions.clear();
    for (QAction *action : actions) {
        m_menu->removeAction(action);
        release(action);
    }
}

void ZkDynamicMenu::add(QAction *action, bool atEnd, bool removeFromEnd)
{
    if (m_maxCount == 0) {
        clear();
        release(action);
        return;
    }
    // A loop rather than a single removal, so that a bound lowered after
    // entries were added still holds once the next entry comes in.
    if (m_maxCount > 0) {
        while (m_actions.size() >= static_cast<size_t>(m_maxCount))
            remove(removeFromEnd);
    }
    insert(action, atEnd);
}

void ZkDynamicMenu::add(const QString &text, bool atEnd, bool removeFromEnd)
{
    assert(m_menu != NULL);
    auto *action = new QAction(text, m_menu);
    action->setProperty(MadeHereProperty, true);
    add(action, atEnd, removeFromEnd);
}

void ZkDynamicMenu::add(const QStringList &texts, bool atEnd, bool removeFromEnd)
{
    for (const QString &text : texts)
        add(text, atEnd, removeFromEnd);
}

void ZkDynamicMenu::menuActionClick(QAction *action)
{
    // A receiver may change the entries, so the walk runs over a copy.
    const std::list<QAction *> actions = m_actions;
    for (QAction *managed : actions) {
        if (managed == action) {
            emit menuClick(action);
            return;
        }
    }
}

// Only entries made here are released, and only later: a receiver of
// menuClick may still hold the pointer, and the menu that is being triggered
// still uses the action after the signal returns.
void ZkDynamicMenu::release(QAction *action)
{
    if (action->property(MadeHereProperty).toBool())
        action->deleteLater();
}
