#include "BoundedRegex.h"

#include <QtTest>

using Outcome = BoundedRegex::Outcome;
Q_DECLARE_METATYPE(BoundedRegex::Outcome)

class TestBoundedRegex : public QObject
{
    Q_OBJECT

private slots:
    void match_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("from");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("matched"); // and the first group, after a |
        const int none = BoundedRegex::NoOptions;
        const QString hostile = QString(40, QLatin1Char('a')) + QLatin1Char('b');
        QTest::newRow("plain") << "第.章" << none << "序第一章，第二章" << 0 << Outcome::Matched
                               << "第一章";
        QTest::newRow("from a position")
            << "第.章" << none << "序第一章，第二章" << 2 << Outcome::Matched << "第二章";
        QTest::newRow("group") << "第(\\d+)回" << none << "　第１２回 宴" << 0 << Outcome::Matched
                               << "第１２回|１２";
        QTest::newRow("line start, multiline") << "^卷" << int(BoundedRegex::Multiline)
                                               << "文卷\n卷二" << 0 << Outcome::Matched << "卷";
        QTest::newRow("line start, whole text only")
            << "^卷" << none << "文卷\n卷二" << 0 << Outcome::NoMatch << "";
        QTest::newRow("case") << "chapter" << int(BoundedRegex::CaseInsensitive) << "CHAPTER 1" << 0
                              << Outcome::Matched << "CHAPTER";
        QTest::newRow("a character beyond the basic plane is one")
            << "甲.乙" << none << QStringLiteral("甲\U00020000乙") << 0 << Outcome::Matched
            << QStringLiteral("甲\U00020000乙");
        QTest::newRow("a lone surrogate never matches, the rest does")
            << "x.y|z" << none << QString("x") + QChar(0xD800) + "y z" << 0 << Outcome::Matched
            << "z";
        QTest::newRow("catastrophic backtracking")
            << "(a+)+$" << none << hostile << 0 << Outcome::LimitHit << "";
        QTest::newRow("words that never end the line")
            << "^(\\w+\\s?)*$" << none << QString(30, QChar(0x7AE0)) + "!" << 0 << Outcome::LimitHit
            << "";
        QTest::newRow("invalid") << "第(.章" << none << "第一章" << 0 << Outcome::Failed << "";
    }

    void match()
    {
        QFETCH(QString, pattern);
        QFETCH(int, options);
        QFETCH(QString, subject);
        QFETCH(int, from);
        QFETCH(Outcome, outcome);
        QFETCH(QString, matched);
        const BoundedRegex regex(pattern, BoundedRegex::Options(options));
        QCOMPARE(regex.isValid(), outcome != Outcome::Failed);
        QCOMPARE(regex.errorString().isEmpty(), regex.isValid());
        BoundedRegex::Match match;
        QCOMPARE(regex.match(subject, from, &match), outcome);
        if (outcome != Outcome::Matched)
            return;
        QString found = subject.mid(match.start, match.length);
        if (!match.groupStarts.isEmpty())
            found += '|' + subject.mid(match.groupStarts.first(), match.groupLengths.first());
        QCOMPARE(found, matched);
    }

    // Where an invalid pattern goes wrong, in the matcher's words.
    void errorSaysWhere()
    {
        const BoundedRegex regex(QStringLiteral("第[一二章"));
        QVERIFY(!regex.isValid());
        QVERIFY2(regex.errorString().contains("]"), qPrintable(regex.errorString()));
        QCOMPARE(regex.errorOffset(), 5);
    }
};

QTEST_GUILESS_MAIN(TestBoundedRegex)
#include "tst_boundedregex.moc"
