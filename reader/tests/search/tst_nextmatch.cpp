#include "NextMatch.h"

#include <QtTest>

// The pieces are the text as it arrived: "|" in a row's text is where one
// piece ends and the next begins.
class TestNextMatch : public QObject
{
    Q_OBJECT

    static TextPieces piecesOf(const QString &text)
    {
        TextPieces pieces;
        int start = 0;
        for (const QString &piece : text.split(QLatin1Char('|'))) {
            pieces.pieces << piece;
            pieces.starts << start;
            start += ShownText::documentLength(piece, piece.size());
        }
        pieces.complete = true;
        return pieces;
    }

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("backward");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("found"); // document position, -1 none
        // clang-format off
        QTest::newRow("forwards, at from") << "ab ab ab" << "ab" << 3 << false << true << 3;
        QTest::newRow("forwards, after from") << "ab ab ab" << "ab" << 4 << false << true << 6;
        QTest::newRow("forwards, none left") << "ab ab ab" << "ab" << 7 << false << true << -1;
        QTest::newRow("backwards starts before from") << "ab ab ab" << "ab" << 6 << true << true << 3;
        QTest::newRow("backwards, a match over from") << "abab" << "ab" << 3 << true << true << 2;
        QTest::newRow("backwards, none before") << "ab ab" << "ab" << 0 << true << true << -1;
        QTest::newRow("letter case") << "Moon moon" << "moon" << 0 << false << true << 5;
        QTest::newRow("any case") << "Moon moon" << "MOON" << 0 << false << false << 0;
        QTest::newRow("in a later piece") << "甲乙\n|丙丁\n|甲乙" << "甲乙" << 1 << false << true << 6;
        QTest::newRow("backwards over pieces") << "甲乙\n|丙丁\n|戊" << "甲乙" << 8 << true << true << 0;
        QTest::newRow("cut by a piece boundary") << "xx山|风yy" << "山风" << 0 << false << true << 2;
        QTest::newRow("cut, backwards") << "xx山|风yy山风" << "山风" << 6 << true << true << 2;
        QTest::newRow("cut across three pieces") << "a天|下|大b" << "天下大" << 0 << false << true << 1;
        QTest::newRow("cut, but before from") << "xx山|风yy" << "山风" << 3 << false << true << -1;
        QTest::newRow("CR LF counts once") << "a\r\nb\r\n|a\r\nb" << "b" << 3 << false << true << 6;
        QTest::newRow("CR LF, backwards") << "a\r\nb\r\n|a\r\nb" << "b" << 6 << true << true << 2;
        QTest::newRow("not over a line end") << "山\n风" << "山风" << 0 << false << true << -1;
        QTest::newRow("empty word") << "abc" << "" << 0 << false << true << -1;
        // clang-format on
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(int, from);
        QFETCH(bool, backward);
        QFETCH(bool, matchCase);
        QFETCH(int, found);
        const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        QCOMPARE(NextMatch::find(piecesOf(text), word, from, backward, sensitivity), found);
    }
};

QTEST_APPLESS_MAIN(TestNextMatch)
#include "tst_nextmatch.moc"
