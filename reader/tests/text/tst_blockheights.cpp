#include "BlockHeights.h"

#include <QtTest>

#include <numeric>
#include <vector>

// The tree must answer as plain running sums would, after any splice; a
// splice that reaches the last block takes the fast road that keeps the
// nodes below it, so those rows matter most.
class TestBlockHeights : public QObject
{
    Q_OBJECT

private slots:
    void spliceKeepsSums_data();
    void spliceKeepsSums();
};

namespace
{

std::vector<qreal> heightsFrom(int count, int seed)
{
    std::vector<qreal> heights;
    for (int i = 0; i < count; ++i)
        heights.push_back(((i * 37 + seed * 11) % 97 + 1) / 4.0); // quarters: exact sums
    return heights;
}

} // namespace

void TestBlockHeights::spliceKeepsSums_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("inserted");
    QTest::newRow("into an empty tree") << 0 << 0 << 0 << 13;
    QTest::newRow("last block grows, new ones follow") << 100 << 99 << 1 << 40;
    QTest::newRow("past a power of two") << 63 << 62 << 1 << 70;
    QTest::newRow("tail cut back") << 300 << 17 << 283 << 2;
    QTest::newRow("tail cut to nothing") << 50 << 0 << 50 << 0;
    QTest::newRow("middle replaced") << 200 << 57 << 30 << 5;
    QTest::newRow("middle grows") << 20 << 3 << 1 << 64;
}

void TestBlockHeights::spliceKeepsSums()
{
    QFETCH(int, initial);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(int, inserted);
    BlockHeights heights;
    std::vector<qreal> expected = heightsFrom(initial, 1);
    heights.assign(expected);
    const std::vector<qreal> added = heightsFrom(inserted, 2);
    heights.splice(first, count, added);
    expected.erase(expected.begin() + first, expected.begin() + first + count);
    expected.insert(expected.begin() + first, added.cbegin(), added.cend());
    // A second splice at the end, as the next piece of a text brings.
    const std::vector<qreal> more = heightsFrom(9, 3);
    heights.splice(int(expected.size()), 0, more);
    expected.insert(expected.end(), more.cbegin(), more.cend());

    QCOMPARE(heights.size(), int(expected.size()));
    QCOMPARE(heights.total(), std::accumulate(expected.cbegin(), expected.cend(), qreal(0)));
    qreal top = 0;
    for (int i = 0; i < heights.size(); ++i) {
        QCOMPARE(heights.at(i), expected[i]);
        QCOMPARE(heights.sumBefore(i), top);
        QCOMPARE(heights.indexAt(top + expected[i] / 2), i);
        top += expected[i];
    }
}

QTEST_APPLESS_MAIN(TestBlockHeights)
#include "tst_blockheights.moc"
