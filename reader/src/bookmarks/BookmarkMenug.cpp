#include "BookmarkMenug.h"

#include "BookmarkAddForm.h"
#include "BookmarkManagerForm.h"
#include "ProgramConstants.h"
#include "TextDisplay.h"
#include "ZkDynamicMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cassert>

namespace
{
// Enough to tell the place within its chapter, short enough for a menu.
const int ProposedWords = 16;
} // namespace

BookmarkMenug::BookmarkMenug(QObject *parent)
    : QObject(parent), m_menu(new QMenu), m_dynamicMenu(new ZkDynamicMenu(this))
{
    connect(m_menu->addAction(QCoreApplication::translate("QObject", "书签管理")),
            &QAction::triggered, this, &BookmarkMenug::managerBookmart);
    m_menu->addSeparator();
    m_dynamicMenu->setMenu(m_menu);
    connect(m_dynamicMenu, &ZkDynamicMenu::menuClick, this, &BookmarkMenug::menuClick);
}

// The dynamic menu goes first: it refers to the menu, never the other way.
BookmarkMenug::~BookmarkMenug()
{
    delete m_dynamicMenu;
    delete m_menu;
}

QMenu *BookmarkMenug::menu()
{
    return m_menu;
}

void BookmarkMenug::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

void BookmarkMenug::setParentWidget(QWidget *widget)
{
    m_parentWidget = widget;
}

void BookmarkMenug::setBookmarkConfig(BookmarkConfig *config)
{
    m_config = config;
}

void BookmarkMenug::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
    connect(display, &TextDisplay::opened, this, &BookmarkMenug::fileOpened);
}

void BookmarkMenug::rebuildMenu()
{
    m_dynamicMenu->clear();
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
        m_dynamicMenu->add(entry.title, true, false);
}

// The top third, not the bottom edge where the view would merely make the
// line visible: that is where the eye looks for it.
void BookmarkMenug::goToPosition(int pos)
{
    assert(m_textWidget != NULL);
    assert(m_textDisplay != NULL);
    // A text still loading may not have reached the bookmark yet; the
    // display shows it when it has.
    const bool inside =
        pos >= 0 && (m_textDisplay->isLoading() || pos <= m_textDisplay->arrivedFilePosition());
    const int cursor = m_textDisplay->toFilePosition(m_textWidget->textCursor().position());
    m_textDisplay->showPosition(inside ? pos : cursor, 1.0 / 3);
}

// The title is stored as the file can hold it, and the menu shows that same
// text, so the entry still finds its bookmark by title.
void BookmarkMenug::append(QString title, int pos)
{
    assert(m_config != NULL);
    title = BookmarkConfig::writableText(title);
    m_dynamicMenu->add(title, true, false);
    m_config->append(title, QString::number(pos), m_fileName);
    m_config->save(bookmarkFilePath());
}

void BookmarkMenug::setChapterTitles(const std::function<QString(int)> &titleAt)
{
    m_chapterTitleAt = titleAt;
}

void BookmarkMenug::showAddBookmarkForm()
{
    assert(m_textWidget != NULL);
    const QTextCursor cursor = m_textWidget->textCursor();
    // Where the cursor stands in the file's text, whatever the view shows.
    const int position = m_textDisplay != nullptr ? m_textDisplay->toFilePosition(cursor.position())
                                                  : cursor.position();
    BookmarkAddForm form(m_parentWidget);
    form.setTitle(proposedTitle(cursor, position));
    form.m_pos = position;
    connect(&form, &BookmarkAddForm::ok, this, &BookmarkMenug::append);
    form.exec();
}

// "第十章 突破：他推开门，雪已经" — the chapter (else the book) and the
// selection (else the first words from the place on), so that a list of
// bookmarks says where each one is.
QString BookmarkMenug::proposedTitle(const QTextCursor &cursor, int filePosition) const
{
    QString where = m_chapterTitleAt ? m_chapterTitleAt(filePosition) : QString();
    if (where.isEmpty())
        where = m_textWidget->document()->metaInformation(QTextDocument::DocumentTitle);
    QString words = cursor.selectedText();
    if (words.isEmpty()) {
        const QTextBlock block = cursor.block();
        words = block.text().mid(cursor.position() - block.position()).trimmed();
        words = words.left(ProposedWords);
    }
    // A bookmark on the heading itself would repeat it.
    if (words.isEmpty() || where.startsWith(words))
        return where;
    return where + QCoreApplication::translate("QObject", "：") + words;
}

// Titles are not unique (第一章 in two novels), but the entries stand in the
// order of the list below the fixed entry and the separator: the place of
// the entry tells which bookmark was chosen.
void BookmarkMenug::menuClick(QAction *action)
{
    const int index = m_menu->actions().indexOf(action) - 2;
    if (index >= 0 && index < BookmarkConfig::bookmarks.size())
        openBookmark(BookmarkConfig::bookmarks.at(index));
}

// The opening itself is the main window's, so that a file reached through a
// bookmark is decoded, listed and remembered like any other; a file that is
// gone is said there and changes nothing, not even the recent files.
void BookmarkMenug::openBookmark(const BookmarkEntry &entry)
{
    const int pos = entry.pos.toInt(nullptr, 10);
    if (entry.file.isEmpty() || QFileInfo(entry.file).absoluteFilePath() == m_fileName) {
        goToPosition(pos);
        return;
    }
    OpenRequest request;
    request.fileName = entry.file;
    request.position = pos;
    emit openRequested(request);
}

void BookmarkMenug::fileOpened(const QString &fileName)
{
    m_fileName = QFileInfo(fileName).absoluteFilePath();
}

void BookmarkMenug::managerBookmart()
{
    BookmarkManagerForm form(m_parentWidget);
    form.m_config = m_config;
    connect(&form, &BookmarkManagerForm::bookmarkChange, this, &BookmarkMenug::setItem);
    form.exec();
}

void BookmarkMenug::setItem(BookmarkDataItem item)
{
    assert(m_config != NULL);
    m_config->replace(item);
    m_config->save(bookmarkFilePath());
    rebuildMenu();
}
