#include "TextEdit.h"

#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

class TestTextEdit : public QObject
{
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("presses");  // n: find next, f: find previous
        QTest::addColumn<QList<int>>("found"); // selection start after each press; -1 none
        // "Moon moon MOON moon" at 0, 5, 10, 15
        QTest::newRow("forwards matches case") << "moon" << 0 << "nnn" << QList<int>{5, 15, 15};
        QTest::newRow("forwards: capital not in small letters, no wrap")
            << "Moon" << 1 << "n" << QList<int>{-1};
        QTest::newRow("backwards ignores case")
            << "MOON" << 19 << "ffff" << QList<int>{15, 10, 5, 0};
        QTest::newRow("no wrap at the start") << "moon" << 0 << "nff" << QList<int>{5, 0, 0};
        QTest::newRow("empty box") << "" << 7 << "nf" << QList<int>{-1, -1};
    }

    void find()
    {
        QFETCH(QString, word);
        QFETCH(int, cursor);
        QFETCH(QString, presses);
        QFETCH(QList<int>, found);
        QTextEdit view(QStringLiteral("Moon moon MOON moon"));
        QLineEdit box(word);
        TextEdit finder;
        finder.setTextWidget(&view);
        finder.setFindEdit(&box);
        QTextCursor start = view.textCursor();
        start.setPosition(cursor);
        view.setTextCursor(start);

        for (int i = 0; i < presses.size(); ++i) {
            presses.at(i) == QLatin1Char('n') ? finder.findNext() : finder.findFront();
            const QTextCursor now = view.textCursor();
            QCOMPARE(now.hasSelection() ? now.selectionStart() : -1, found.at(i));
            QVERIFY(!now.hasSelection() || now.selectedText().toLower() == word.toLower());
        }
    }
};

QTEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
