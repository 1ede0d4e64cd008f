#ifndef TEXTMENU_H
#define TEXTMENU_H

#include <QObject>

class BookmarkMenug;
class QAction;
class QString;
class QTextEdit;

// The right-click menu of the reading view: add a bookmark at the cursor,
// copy, select all, and look the selection up on the web (offered only while
// something is selected).
class TextMenu : public QObject
{
    Q_OBJECT

public:
    explicit TextMenu(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setBookmarkMenu(BookmarkMenug *menu);
    // Once, after both setters.
    void createActions();

private slots:
    void searchByGoogle();
    void searchByBaidu();

private:
    QAction *addAction(const QString &text);
    QAction *addSearchAction(const QString &text);
    void addSeparator();
    void search(const QString &prefix);

    QTextEdit *m_textWidget = nullptr;       // the reading view, not owned
    BookmarkMenug *m_bookmarkMenu = nullptr; // not owned
};

#endif // TEXTMENU_H
