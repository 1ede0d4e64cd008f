#ifndef BOOKMARKMENUG_H
#define BOOKMARKMENUG_H

#include "BookmarkConfig.h"
#include "OpenRequest.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QTextEdit;
class QWidget;
class QTextCursor;
class TextDisplay;
class ZkDynamicMenu;

// The bookmark button's menu: 书签管理, a separator and one entry per
// bookmark. A bookmark remembers the file it was added in: choosing it jumps
// there in the file on screen, or asks for its file to be opened first.
// Bookmarks of older lists know no file and jump in whatever file is showing.
// It also runs the add and manager dialogs and carries their results into
// the store.
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
    // Follows the files it opens; jumps go through it.
    void setTextDisplay(TextDisplay *display);
    // The title of the chapter that holds a file position, empty where none
    // does: the proposed title of a new bookmark starts with it.
    void setChapterTitles(const std::function<QString(int)> &titleAt);

    // Replaces the bookmark entries by the store's list.
    void rebuildMenu();
    // The position's line goes to the top third of the view. A position
    // outside the document leaves the cursor where it is; the view still
    // returns to it.
    void goToPosition(int pos);

signals:
    // A bookmark of a file that is not on screen: open it, then jump there.
    void openRequested(const OpenRequest &request);

public slots:
    void append(QString title, int pos);
    void showAddBookmarkForm();

private slots:
    void menuClick(QAction *action);
    void managerBookmart();
    void setItem(BookmarkDataItem item);

private:
    void fileOpened(const QString &fileName);
    QString proposedTitle(const QTextCursor &cursor, int filePosition) const;
    void openBookmark(const BookmarkEntry &entry);

    QMenu *m_menu;                      // owned; made without a parent, deleted in the destructor
    ZkDynamicMenu *m_dynamicMenu;       // owned; the bookmark entries of m_menu
    QTextEdit *m_textWidget = nullptr;  // the reading view, not owned
    QWidget *m_parentWidget = nullptr;  // parent of the dialogs, not owned
    BookmarkConfig *m_config = nullptr; // the store, not owned

    TextDisplay *m_textDisplay = nullptr; // moves the view, tells of opened files; not owned
    std::function<QString(int)> m_chapterTitleAt;
    // absolute path of the file on screen; empty until one is opened
    QString m_fileName;
};

#endif // BOOKMARKMENUG_H
