#include "ZkDynamicMenu.h"

#include <QMenu>
#include <QPointer>
#include <QtTest>

class TestZkDynamicMenu : public QObject
{
    Q_OBJECT

private slots:
    // The block below a fixed entry and a separator holds e0, e1, … before
    // the operation: "top" or "end" adds "new" there, the other side making
    // room; "-top" and "-end" remove; "clear".
    void changes_data()
    {
        QTest::addColumn<int>("maxCount");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("first goes below the fixed entries") << -1 << 0 << "top" << "new";
        QTest::newRow("zero empties the block") << 0 << 2 << "top" << "";
        QTest::newRow("one replaces") << 1 << 1 << "top" << "new";
        QTest::newRow("one after a lowered bound") << 1 << 3 << "end" << "new";
        QTest::newRow("full, the end makes room") << 3 << 3 << "top" << "new e0 e1";
        QTest::newRow("full, the top makes room") << 3 << 3 << "end" << "e1 e2 new";
        QTest::newRow("remove from the end") << -1 << 3 << "-end" << "e0 e1";
        QTest::newRow("remove from the top") << -1 << 3 << "-top" << "e1 e2";
        QTest::newRow("clear") << -1 << 3 << "clear" << "";
        // clang-format on
    }

    void changes()
    {
        QFETCH(int, maxCount);
        QFETCH(int, entries);
        QFETCH(QString, operation);
        QFETCH(QString, expected);
        QMenu menu;
        menu.addAction(QStringLiteral("fixed"));
        menu.addSeparator();
        ZkDynamicMenu dynamicMenu(nullptr);
        dynamicMenu.setMenu(&menu);
        for (int i = 0; i < entries; ++i)
            dynamicMenu.add(QStringLiteral("e%1").arg(i), true, false);

        dynamicMenu.m_maxCount = maxCount;
        if (operation == "top" || operation == "end")
            dynamicMenu.add(QStringLiteral("new"), operation == "end", operation == "top");
        else
            operation == "clear" ? dynamicMenu.clear() : dynamicMenu.remove(operation == "-end");

        QStringList shown, reported{"kept"};
        for (QAction *action : menu.actions())
            shown << action->text();
        dynamicMenu.menuTextList(reported);
        const QStringList managed = expected.split(' ', Qt::SkipEmptyParts);
        QCOMPARE(shown, QStringList({"fixed", ""}) + managed);
        QCOMPARE(reported, QStringList{"kept"} + managed);
    }

    // Entries made from a text are released once out of the menu, even when
    // the receiver of the click empties it; the owner's actions are not.
    void clicks()
    {
        QMenu menu;
        QAction *fixed = menu.addAction(QStringLiteral("fixed"));
        ZkDynamicMenu dynamicMenu(nullptr);
        dynamicMenu.setMenu(&menu);
        QPointer<QAction> owners = new QAction(QStringLiteral("owner's"), &menu);
        dynamicMenu.insert(owners, false);
        dynamicMenu.add(QStringLiteral("made"), false, false);
        QPointer<QAction> made = menu.actions().at(1);
        QSignalSpy clicks(&dynamicMenu, &ZkDynamicMenu::menuClick);
        connect(&dynamicMenu, &ZkDynamicMenu::menuClick, &dynamicMenu, &ZkDynamicMenu::clear);

        fixed->trigger();
        made->trigger();
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).value<QAction *>(), made.data());
        QCOMPARE(menu.actions(), QList<QAction *>{fixed});
        QTRY_VERIFY(made.isNull());
        QVERIFY(!owners.isNull());
    }
};

QTEST_MAIN(TestZkDynamicMenu)
#include "tst_zkdynamicmenu.moc"
