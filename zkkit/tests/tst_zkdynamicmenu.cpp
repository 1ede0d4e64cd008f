#include "ZkDynamicMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QtTest>

// A menu as its owners build it: a fixed entry and a separator on top, the
// managed entries e0, e1, … below, added without a bound.
struct Fixture {
    explicit Fixture(int entries)
    {
        fixed = menu.addAction(QStringLiteral("fixed"));
        menu.addSeparator();
        dynamicMenu.setMenu(&menu);
        for (int i = 0; i < entries; ++i)
            dynamicMenu.add(QStringLiteral("e%1").arg(i), true, false);
    }

    // Everything below the separator.
    QStringList shownTexts()
    {
        QStringList shown;
        const QList<QAction *> actions = menu.actions();
        for (int i = 2; i < actions.size(); ++i)
            shown << actions.at(i)->text();
        return shown;
    }

    QMenu menu;
    QAction *fixed;
    ZkDynamicMenu dynamicMenu{nullptr};
};

class TestZkDynamicMenu : public QObject
{
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
    void clicks();
};

// An operation is "top" or "end" (add on that side, making room on the other),
// "-top" or "-end" (remove) or "clear"; the added entry is "new".
void TestZkDynamicMenu::changes_data()
{
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("first on top goes below the fixed entries") << -1 << 0 << "top" << "new";
    QTest::newRow("unbounded on top") << -1 << 2 << "top" << "new e0 e1";
    QTest::newRow("unbounded at the end") << -1 << 2 << "end" << "e0 e1 new";
    QTest::newRow("zero empties the block") << 0 << 2 << "top" << "";
    QTest::newRow("one replaces") << 1 << 1 << "top" << "new";
    QTest::newRow("one after a lowered bound") << 1 << 3 << "end" << "new";
    QTest::newRow("room left") << 3 << 1 << "top" << "new e0";
    QTest::newRow("full, the end makes room") << 3 << 3 << "top" << "new e0 e1";
    QTest::newRow("full, the top makes room") << 3 << 3 << "end" << "e1 e2 new";
    QTest::newRow("lowered bound") << 2 << 4 << "top" << "new e0";
    QTest::newRow("remove from the end") << 3 << 3 << "-end" << "e0 e1";
    QTest::newRow("remove from the top") << 3 << 3 << "-top" << "e1 e2";
    QTest::newRow("remove from an empty block") << -1 << 0 << "-end" << "";
    QTest::newRow("clear") << -1 << 3 << "clear" << "";
    // clang-format on
}

void TestZkDynamicMenu::changes()
{
    QFETCH(int, maxCount);
    QFETCH(int, entries);
    QFETCH(QString, operation);
    QFETCH(QString, expected);

    Fixture f(entries);
    f.dynamicMenu.m_maxCount = maxCount;
    if (operation == "top" || operation == "end")
        f.dynamicMenu.add(QStringLiteral("new"), operation == "end", operation == "top");
    else if (operation == "clear")
        f.dynamicMenu.clear();
    else
        f.dynamicMenu.remove(operation == "-end");

    const QStringList expectedTexts = expected.split(' ', Qt::SkipEmptyParts);
    QCOMPARE(f.shownTexts(), expectedTexts);
    QCOMPARE(f.menu.actions().first(), f.fixed);
    QStringList reported{QStringLiteral("kept")};
    f.dynamicMenu.menuTextList(reported);
    QCOMPARE(reported, QStringList{QStringLiteral("kept")} + expectedTexts);
}

// Entries made from a text are released once out of the menu, even when the
// receiver of the click empties the menu; actions the owner made are not.
void TestZkDynamicMenu::clicks()
{
    Fixture f(2);
    QPointer<QAction> ownersAction = new QAction(QStringLiteral("owner's"), &f.menu);
    f.dynamicMenu.insert(ownersAction, false);
    QPointer<QAction> made = f.menu.actions().at(3);
    QSignalSpy clicks(&f.dynamicMenu, &ZkDynamicMenu::menuClick);
    connect(&f.dynamicMenu, &ZkDynamicMenu::menuClick, &f.dynamicMenu, &ZkDynamicMenu::clear);

    f.fixed->trigger();
    QCOMPARE(clicks.count(), 0);
    made->trigger();
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<QAction *>(), made.data());
    QCOMPARE(f.shownTexts(), QStringList());
    QTRY_VERIFY(made.isNull());
    QVERIFY(!ownersAction.isNull());
}

QTEST_MAIN(TestZkDynamicMenu)
#include "tst_zkdynamicmenu.moc"
