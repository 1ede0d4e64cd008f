#include "ShownText.h"
#include "TextSearch.h"

#include <QtTest>

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        QTest::addColumn<QString>("text"); // pieces as they arrive, split at '|'
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QList<int>>("found"); // position and length of each listed match
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstRow"); // before[match]after of the first match
        QTest::addColumn<bool>("stopped");     // an expression too costly stopped it
        const QString hostile = QString(40, QLatin1Char('a')) + QLatin1Char('b');
        // clang-format off
        QTest::newRow("letter case ignored") << "Moon moon MOON" << "moon" << false << false << 100 << QList<int>{0, 4, 5, 4, 10, 4} << 3 << "[Moon] moon MOON" << false;
        QTest::newRow("letter case kept") << "Moon moon MOON" << "moon" << true << false << 100 << QList<int>{5, 4} << 1 << "Moon [moon] MOON" << false;
        QTest::newRow("no match") << "Moon" << "sun" << false << false << 100 << QList<int>{} << 0 << "" << false;
        QTest::newRow("regular expression per line") << "第1章\n文\n第22章" << "^第\\d+章$" << false << true << 100 << QList<int>{0, 3, 6, 4} << 2 << "[第1章] 文 第22章" << false;
        QTest::newRow("CR LF counts one") << "一\r\n二\r\n二" << "二" << false << false << 100 << QList<int>{2, 1, 4, 1} << 2 << "一 [二] 二" << false;
        QTest::newRow("match across CR LF") << "一\r\n二" << "一\\s+二" << false << true << 100 << QList<int>{0, 3} << 1 << "[一 二]" << false;
        QTest::newRow("pieces as they arrived") << "甲乙\r\n|丙甲\n|甲" << "甲" << false << false << 100 << QList<int>{0, 1, 4, 1, 6, 1} << 3 << "[甲]乙 丙甲" << false;
        QTest::newRow("expression across pieces") << "一二\n|三四" << "二\\s三" << false << true << 100 << QList<int>{1, 3} << 1 << "一[二 三]四" << false;
        QTest::newRow("CR LF ending a piece") << "一\r\n|二" << "一\\s+二" << false << true << 100 << QList<int>{0, 3} << 1 << "[一 二]" << false;
        QTest::newRow("matches on both sides of a seam") << "甲甲\n|甲乙" << "甲\\s*" << false << true << 100 << QList<int>{0, 1, 1, 2, 3, 1} << 3 << "[甲]甲 甲乙" << false;
        QTest::newRow("empty matches passed over") << "axxb" << "x*" << false << true << 100 << QList<int>{1, 2} << 1 << "a[xx]b" << false;
        QTest::newRow("context of 15, indent as one space") << "　　一二三四五六七八九十一二三四五六七八九十\n　　山门前" << "山门" << false << false << 100 << QList<int>{25, 2} << 1 << "九十一二三四五六七八九十 [山门]前" << false;
        QTest::newRow("listed up to the limit, all counted") << "的的的的的" << "的" << false << false << 3 << QList<int>{0, 1, 1, 1, 2, 1} << 5 << "[的]的的的的" << false;
        QTest::newRow("hostile expression stops") << hostile << "(a+)+$" << false << true << 100 << QList<int>{} << 0 << "" << true;
        // clang-format on
    }

    void search()
    {
        QFETCH(QString, text);
        QFETCH(QString, query);
        QFETCH(bool, matchCase);
        QFETCH(bool, regex);
        QFETCH(int, limit);
        QFETCH(QList<int>, found);
        QFETCH(int, count);
        QFETCH(QString, firstRow);
        QFETCH(bool, stopped);
        ShownText shown;
        const QStringList pieces = text.split(QLatin1Char('|'));
        shown.begin(pieces.first());
        for (int i = 1; i < pieces.size(); ++i)
            shown.append(pieces.at(i));
        shown.finish();
        TextSearch search(&shown);
        search.setListLimit(limit);
        QVector<SearchHit> hits;
        connect(&search, &TextSearch::found, this,
                [&hits](const QVector<SearchHit> &more) { hits += more; });
        QSignalSpy finished(&search, &TextSearch::finished);

        QVERIFY(search.start({query, matchCase, regex}));
        QTRY_COMPARE(finished.count(), 1);
        QList<int> listed;
        for (const SearchHit &hit : qAsConst(hits))
            listed << hit.position << hit.length;
        QCOMPARE(listed, found);
        QCOMPARE(search.count(), count);
        QCOMPARE(search.limitHit(), stopped);
        if (!hits.isEmpty())
            QCOMPARE(hits.first().before + '[' + hits.first().match + ']' + hits.first().after,
                     firstRow);
    }

    void invalidExpressionSaysWhere()
    {
        ShownText shown;
        TextSearch search(&shown);
        QVERIFY(!search.start({QStringLiteral("第(\\d+章"), false, true}));
        QVERIFY(!search.matcher().errorString().isEmpty());
        QCOMPARE(search.matcher().errorOffset(), 6);
        QVERIFY(!search.start({QString(), false, false}));
    }

    // A search started while the text loads covers what has come and goes
    // on as the rest comes; a new text ends it.
    void followsTheTextAsItArrives()
    {
        Arriving arriving;
        arriving.shown.begin(QStringLiteral("风起\n"));
        QVERIFY(arriving.search.start({QStringLiteral("风"), false, false}));
        QTRY_COMPARE(arriving.hits.size(), 1);
        QVERIFY(arriving.search.isRunning());
        arriving.shown.append(QStringLiteral("云涌，风停\n"));
        QTRY_COMPARE(arriving.hits.size(), 2);
        QCOMPARE(arriving.hits.last().position, 6);
        QCOMPARE(arriving.finished.count(), 0);
        arriving.shown.finish();
        QTRY_COMPARE(arriving.finished.count(), 1);

        QVERIFY(arriving.search.start({QStringLiteral("风"), false, false}));
        arriving.shown.begin(QStringLiteral("风"));
        QVERIFY(!arriving.search.isRunning());
        QCOMPARE(arriving.search.count(), 0);
    }

    // The end of what has arrived is searched again with what comes next.
    void matchRunsOnIntoAPieceThatArrivesLater()
    {
        Arriving arriving;
        arriving.shown.begin(QStringLiteral("甲乙风\n"));
        QVERIFY(arriving.search.start({QStringLiteral("乙|风\\s+云"), false, true}));
        QTRY_COMPARE(arriving.hits.size(), 1);
        arriving.shown.append(QStringLiteral("云起\n"));
        arriving.shown.finish();
        QTRY_COMPARE(arriving.finished.count(), 1);
        QCOMPARE(arriving.hits.size(), 2);
        QCOMPARE(arriving.hits.last().position, 2);
        QCOMPARE(arriving.hits.last().length, 3);
    }

private:
    // A text that arrives in pieces and a search of it, with what it found.
    struct Arriving {
        ShownText shown;
        TextSearch search{&shown};
        QVector<SearchHit> hits;
        QSignalSpy finished{&search, &TextSearch::finished};

        Arriving()
        {
            QObject::connect(&search, &TextSearch::found, &search,
                             [this](const QVector<SearchHit> &more) { hits += more; });
        }
    };
};

QTEST_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
