#include "PageTurn.h"

#include <QtTest>

Q_DECLARE_METATYPE(QVector<PageTurn::Line>)

namespace
{

// Lines of the given heights, one after the other from the top, with gap
// pixels after each line whose height is followed by a '+' (a paragraph's
// end): "20 20+ 20" with gap 8.
QVector<PageTurn::Line> linesOf(const QString &heights, qreal gap)
{
    QVector<PageTurn::Line> lines;
    qreal y = 0;
    for (const QString &height : heights.split(' ')) {
        const bool paragraphEnd = height.endsWith('+');
        const qreal h = QString(height).remove('+').toDouble();
        lines.append({y, y + h});
        y += h + (paragraphEnd ? gap : 0);
    }
    return lines;
}

} // namespace

class TestPageTurn : public QObject
{
    Q_OBJECT

private slots:
    void turns_data();
    void turns();
};

void TestPageTurn::turns_data()
{
    QTest::addColumn<QString>("heights");
    QTest::addColumn<qreal>("gap");
    QTest::addColumn<int>("viewTop");
    QTest::addColumn<int>("viewHeight");
    QTest::addColumn<int>("forward");
    QTest::addColumn<int>("back");

    const QString even = QStringLiteral("20 20 20 20 20 20 20 20 20 20 20 20");
    // 0-20 … 100-120: a view of 110 cuts the sixth line, which comes to the top.
    QTest::newRow("cut line comes to the top") << even << 0.0 << 0 << 110 << 100 << -110;
    QTest::newRow("no line cut: the next one") << even << 0.0 << 0 << 100 << 100 << -100;
    // No line cut at the top: the line above it (80-100) ends the view.
    QTest::newRow("back: the line above ends the view") << even << 0.0 << 100 << 110 << 200 << -10;
    QTest::newRow("back: the cut top line ends the view") << even << 0.0 << 105 << 110 << 200 << 10;
    // A paragraph gap at the bottom edge: the next line, below the gap.
    QTest::newRow("gap at the bottom edge")
        << QStringLiteral("20 20 20+ 20 20 20") << 10.0 << 0 << 65 << 70 << -65;
    QTest::newRow("fractional heights round to whole lines")
        << QStringLiteral("20.5 20.5 20.5 20.5 20.5") << 0.0 << 0 << 50 << 41 << -50;
    // A line taller than the view cannot be kept whole: a view's height.
    QTest::newRow("line taller than the view")
        << QStringLiteral("20 300 20") << 0.0 << 20 << 100 << 120 << -80;
    // The last page: no line below, a whole view's height, bounded later.
    QTest::newRow("last page") << QStringLiteral("20 20 20") << 0.0 << 0 << 100 << 100 << -100;
    QTest::newRow("no lines") << QString() << 0.0 << 40 << 100 << 140 << -60;
}

void TestPageTurn::turns()
{
    QFETCH(QString, heights);
    QFETCH(qreal, gap);
    QFETCH(int, viewTop);
    QFETCH(int, viewHeight);
    const QVector<PageTurn::Line> lines =
        heights.isEmpty() ? QVector<PageTurn::Line>() : linesOf(heights, gap);
    QTEST(PageTurn::forward(lines, viewTop, viewHeight), "forward");
    QTEST(PageTurn::back(lines, viewTop, viewHeight), "back");
}

QTEST_APPLESS_MAIN(TestPageTurn)
#include "tst_pageturn.moc"
