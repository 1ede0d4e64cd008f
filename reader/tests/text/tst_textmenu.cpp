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
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    }

    void entries_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("result"); // clipboard, selection or the address opened, if any
        QTest::newRow("copy") << 2 << 9 << 11 << "小说";
        QTest::newRow("select all") << 3 << 0 << 0 << "C++ & C# 小说\u2029second line";
        QTest::newRow("google, words kept as typed")
            << 5 << 12 << 23 << "https://www.google.com/search?q=second line";
        QTest::newRow("baidu, nothing selected: not offered") << 6 << 3 << 3 << "";
        // left alone, the query would end at # and split at &, and + means a space
        QTest::newRow("baidu, query characters")
            << 6 << 0 << 8 << "https://www.baidu.com/s?wd=C%2B%2B %26 C%23";
    }

    void entries()
    {
        QFETCH(int, entry);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, result);
        QTextEdit view;
        view.setPlainText(QStringLiteral("C++ & C# 小说\nsecond line"));
        BookmarkMenug bookmarks;
        TextMenu menu;
        menu.setBookmarkMenu(&bookmarks);
        menu.setTextWidget(&view);
        menu.createActions();
        QStringList texts;
        for (QAction *action : view.actions())
            texts << action->text(); // a separator has none
        QCOMPARE(texts, QStringList({"添加书签", "", "复制", "选择全部", "", "在谷歌搜索",
                                     "在百度搜索", "", "设为章节"}));
        QCOMPARE(view.contextMenuPolicy(), Qt::ActionsContextMenu);

        QTextCursor cursor = view.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
        m_opened.clear();
        view.actions().at(entry)->trigger();
        if (entry == 2) {
            QCOMPARE(QApplication::clipboard()->text(), result);
        } else if (entry == 3) {
            QCOMPARE(view.textCursor().selectedText(), result);
        } else if (from == to) {
            QVERIFY(!view.actions().at(entry)->isEnabled());
            QVERIFY(m_opened.isEmpty());
        } else {
            QVERIFY(view.actions().at(entry)->isEnabled());
            QCOMPARE(m_opened.size(), 1);
            QCOMPARE(m_opened.first().toString(), result);
            const QString key = entry == 5 ? "q" : "wd";
            QCOMPARE(QUrlQuery(m_opened.first()).queryItemValue(key, QUrl::FullyDecoded),
                     cursor.selectedText());
        }
    }

private:
    QList<QUrl> m_opened;
};

QTEST_MAIN(TestTextMenu)
#include "tst_textmenu.moc"
