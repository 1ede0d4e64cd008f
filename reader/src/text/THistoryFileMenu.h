#ifndef THISTORYFILEMENU_H
#define THISTORYFILEMENU_H

#include "OpenRequest.h"

#include <QObject>
#include <QStringList>

class Config;
class QAction;
class QMenu;
class QWidget;
class ZkDynamicMenu;

// The menu of the history button: a clear entry, a separator, the last
// twenty files opened, newest on top, each once and by its name (the path in
// its tooltip), and the way to the shelf below them. The list is the
// settings' recent-file list and is saved whenever it changes.
class THistoryFileMenu : public QObject
{
    Q_OBJECT

public:
    explicit THistoryFileMenu(QObject *parent = nullptr);
    ~THistoryFileMenu() override;

    QMenu *menu() const { return m_menu; }
    void setConfig(Config *config);
    void setParentWidget(QWidget *widget);

    // Shows a stored list, first path on top; nothing is saved.
    void loadList(const QStringList &list);
    void addFile(const QString &path);
    // What the menu lists, newest first: paths.
    QStringList files() const { return m_fileList; }

signals:
    // A listed file was chosen: open it, in the encoding its bytes tell.
    void openRequested(const OpenRequest &request);
    // 书架… was chosen.
    void shelfRequested();

private slots:
    void menuClick(QAction *action);
    void clearMenu();

private:
    void saveList();
    void showList();

    ZkDynamicMenu *m_dynamicMenu;      // Qt child of this object
    QMenu *m_menu;                     // no parent, since a button shows it; deleted here
    QWidget *m_parentWidget = nullptr; // parent of the question box, not owned
    Config *m_config = nullptr;        // not owned
    QAction *m_shelfAction;            // Qt child of the menu
    QAction *m_shelfSeparator;         // Qt child of the menu
    QStringList m_fileList;            // listed paths, newest first, each once
};

#endif // THISTORYFILEMENU_H
