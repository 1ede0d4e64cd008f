#include "TextMenu.h"

#include "BookmarkMenug.h"
#include "ZkUtility.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QTextCursor>
#include <QTextEdit>

#include <cassert>

TextMenu::TextMenu(QObject *parent) : QObject(parent) {}

void TextMenu::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

void TextMenu::setBookmarkMenu(BookmarkMenug *menu)
{
    m_bookmarkMenu = menu;
}

// The view's own editing menu is replaced by exactly these actions.
void TextMenu::createActions()
{
    assert(m_textWidget != NULL);
    m_textWidget->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(addAction(QCoreApplication::translate("QObject", "添加书签")), &QAction::triggered,
            m_bookmarkMenu, &BookmarkMenug::showAddBookmarkForm);
    addSeparator();
    connect(addAction(QCoreApplication::translate("QObject", "复制")), &QAction::triggered,
            m_textWidget, &QTextEdit::copy);
    connect(addAction(QCoreApplication::translate("QObject", "选择全部")), &QAction::triggered,
            m_textWidget, &QTextEdit::selectAll);
    addSeparator();
    connect(addSearchAction(QCoreApplication::translate("QObject", "在谷歌搜索")),
            &QAction::triggered, this, &TextMenu::searchByGoogle);
    connect(addSearchAction(QCoreApplication::translate("QObject", "在百度搜索")),
            &QAction::triggered, this, &TextMenu::searchByBaidu);
    addSeparator();
    connect(addAction(QCoreApplication::translate("QObject", "设为章节")), &QAction::triggered,
            this, [this] {
                emit chapterRequested(m_menuPosition >= 0 ? m_menuPosition
                                                          : m_textWidget->textCursor().position());
            });
    // The line clicked on, which the menu has no other way to know.
    m_textWidget->installEventFilter(this);
    m_textWidget->viewport()->installEventFilter(this);
}

bool TextMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        QPoint at = menuEvent->pos();
        if (watched == m_textWidget)
            at = m_textWidget->viewport()->mapFrom(m_textWidget, at);
        m_menuPosition = menuEvent->reason() == QContextMenuEvent::Mouse
                             ? m_textWidget->cursorForPosition(at).position()
                             : m_textWidget->textCursor().position();
    }
    return QObject::eventFilter(watched, event);
}

QAction *TextMenu::addAction(const QString &text)
{
    auto *action = new QAction(text, this);
    m_textWidget->addAction(action);
    return action;
}

// A search without a selection would only open the engine's empty page.
QAction *TextMenu::addSearchAction(const QString &text)
{
    QAction *action = addAction(text);
    action->setEnabled(m_textWidget->textCursor().hasSelection());
    connect(m_textWidget, &QTextEdit::copyAvailable, action, &QAction::setEnabled);
    return action;
}

void TextMenu::addSeparator()
{
    addAction(QString())->setSeparator(true);
}

// The whole prefix goes through translation, so a translation can send the
// search to another engine. Encrypted, as what a reader looks up is private.
void TextMenu::searchByGoogle()
{
    search(QCoreApplication::translate("QObject", "https://www.google.com/search?q="));
}

void TextMenu::searchByBaidu()
{
    search(QCoreApplication::translate("QObject", "https://www.baidu.com/s?wd="));
}

// The selection is passed as the user sees it, spaces included; only the
// characters that would end or reshape the query are escaped, or "C++"
// would be searched as "C" and "C#" lose everything after the C.
void TextMenu::search(const QString &prefix)
{
    assert(m_textWidget != NULL);
    QString query = m_textWidget->textCursor().selectedText();
    if (query.isEmpty())
        return;
    query.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('#'), QLatin1String("%23"))
        .replace(QLatin1Char('&'), QLatin1String("%26"))
        .replace(QLatin1Char('+'), QLatin1String("%2B"));
    zk::openUrl(prefix + query);
}
