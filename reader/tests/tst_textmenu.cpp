#include "BookmarkMenug.h"
#include "TextMenu.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QTextEdit>
#include <QUrlQuery>
#include <QtTest>

class TestTextMenu : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

private slots:
    void init();
    void entriesInOrder();
    void copyAndSelectAll();
    void webSearch_data();
    void webSearch();

private:
    QAction *entry(const QString &text) const;

    QScopedPointer<QTextEdit> m_view;
    QScopedPointer<TextMenu> m_menu;
    BookmarkMenug m_bookmarks;
    QList<QUrl> m_opened;
};

void TestTextMenu::init()
{
    m_view.reset(new QTextEdit);
    m_view->setPlainText(QStringLiteral("C++ & C# 小说\nsecond line"));
    m_menu.reset(new TextMenu);
    m_menu->setBookmarkMenu(&m_bookmarks);
    m_menu->setTextWidget(m_view.data());
    m_menu->createActions();
    m_opened.clear();
}

QAction *TestTextMenu::entry(const QString &text) const
{
    for (QAction *action : m_view->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no entry %s", qPrintable(text));
}

void TestTextMenu::entriesInOrder()
{
    QStringList texts;
    for (QAction *action : m_view->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts,
             QStringList({"添加书签", "-", "复制", "选择全部", "-", "在谷歌搜索", "在百度搜索"}));
    QCOMPARE(m_view->contextMenuPolicy(), Qt::ActionsContextMenu);
    for (QAction *action : m_view->actions())
        QVERIFY(action->isEnabled() && action->isVisible());
}

void TestTextMenu::copyAndSelectAll()
{
    entry(QStringLiteral("选择全部"))->trigger();
    QCOMPARE(m_view->textCursor().selectedText().size(), m_view->toPlainText().size());
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(9);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    m_view->setTextCursor(cursor);
    entry(QStringLiteral("复制"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("小说"));
}

void TestTextMenu::webSearch_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("query");
    QTest::newRow("google, words")
        << "在谷歌搜索" << 12 << 23 << "http://www.google.com/search?q=second line"
        << "second line";
    QTest::newRow("baidu, nothing selected")
        << "在百度搜索" << 3 << 3 << "http://www.baidu.com/s?wd="
        << "";
    QTest::newRow("baidu, query characters")
        << "在百度搜索" << 0 << 8 << "http://www.baidu.com/s?wd=C%2B%2B %26 C%23"
        << "C++ & C#";
}

// The desktop gets the selection as typed, spaces included; what would end
// or split the query is escaped so the engine is asked for the whole text.
void TestTextMenu::webSearch()
{
    QFETCH(QString, entry);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, address);
    QFETCH(QString, query);
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    m_view->setTextCursor(cursor);
    this->entry(entry)->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(m_opened.size(), 1);
    const QUrl url = m_opened.first();
    QCOMPARE(url.toString(), address);
    const QString key = url.host().contains("google") ? "q" : "wd";
    QCOMPARE(QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded), query);
}

QTEST_MAIN(TestTextMenu)
#include "tst_textmenu.moc"
