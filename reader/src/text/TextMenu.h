#ifndef TEXTMENU_H
#define TEXTMENU_H

#include <QObject>

class BookmarkMenug;
class QAction;
class QString;
class QTextEdit;

// The right-click menu of the reading view: add a bookmark at the cursor,
// make the line clicked on a chapter, copy, select all, and look the
// selection up on the web (offered only while something is selected).
class TextMenu : public QObject
{
    Q_OBJECT

public:
    explicit TextMenu(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setBookmarkMenu(BookmarkMenug *menu);
    // Once, after both setters.
    void createActions();

signals:
    // 设为章节 on the line that holds position (of the view's document, as
    // shown).
    void chapterRequested(int position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    int m_menuPosition = -1;                 // where the menu was asked for
};

#endif // TEXTMENU_H
