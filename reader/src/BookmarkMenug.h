#ifndef BOOKMARKMENUG_H
#define BOOKMARKMENUG_H

#include "BookmarkConfig.h"

#include <QObject>

class QAction;
class QMenu;
class QTextEdit;
class QWidget;
class ZkDynamicMenu;

// The bookmark button's menu: 书签管理, a separator and one entry per
// bookmark. Choosing an entry moves the cursor of the reading view to the
// bookmark's position in whatever file is showing. It also runs the add
// and manager dialogs and carries their results into the store.
class BookmarkMenug : public QObject
{
    Q_OBJECT

public:
    explicit BookmarkMenug(QObject *parent = nullptr);
    ~BookmarkMenug() override;

    QMenu *menu();
    void setTextWidget(QTextEdit *edit);
    void setParentWidget(QWidget *widget);
    void setBookmarkConfig(BookmarkConfig *config);

    // Replaces the bookmark entries by the store's list.
    void rebuildMenu();
    // A position outside the document leaves the cursor where it is; the
    // view still returns to it.
    void goToPosition(int pos);

public slots:
    void append(QString title, int pos);
    void showAddBookmarkForm();

private slots:
    void menuClick(QAction *action);
    void managerBookmart();
    void setItem(BookmarkDataItem item);

private:
    QMenu *m_menu;                      // owned; made without a parent, deleted in the destructor
    ZkDynamicMenu *m_dynamicMenu;       // owned; the bookmark entries of m_menu
    QTextEdit *m_textWidget = nullptr;  // the reading view, not owned
    QWidget *m_parentWidget = nullptr;  // parent of the dialogs, not owned
    BookmarkConfig *m_config = nullptr; // the store, not owned
};

#endif // BOOKMARKMENUG_H
