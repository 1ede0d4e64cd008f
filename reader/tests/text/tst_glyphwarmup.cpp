#include "GlyphWarmUp.h"

#include <QFontDatabase>
#include <QtTest>

// The glyphs of a script that may be chosen are warmed beside the common
// ones, also after a book was opened and the warm-up stopped.
class TestGlyphWarmUp : public QObject
{
    Q_OBJECT

private slots:
    void scriptCharactersAreAdded_data()
    {
        QTest::addColumn<QStringList>("configurations");
        QTest::addColumn<QString>("added");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Taiwan's words, before a book")
            << QStringList{"s2twp.json"} << QString("這們說") << false;
        QTest::newRow("Hong Kong, while a book is open")
            << QStringList{"s2hk.json"} << QString("這們説") << true;
        QTest::newRow("a missing configuration is passed over")
            << QStringList{"no-such.json", "s2tw.json"} << QString("這們說") << true;
    }

    void scriptCharactersAreAdded()
    {
        QFETCH(QStringList, configurations);
        QFETCH(QString, added);
        QFETCH(bool, opened);
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        GlyphWarmUp warmUp;
        warmUp.start(font);
        if (opened)
            warmUp.stop();
        const int common = warmUp.characters().size();
        warmUp.addScripts(font, configurations);
        QTRY_VERIFY(warmUp.characters().size() > common);
        for (const QChar character : added)
            QVERIFY2(warmUp.characters().contains(character), qPrintable(QString(character)));
        QCOMPARE(warmUp.characters().count(added.at(0)), 1);
        QTRY_VERIFY_WITH_TIMEOUT(warmUp.isDone(), 20000);
    }
};

QTEST_MAIN(TestGlyphWarmUp)
#include "tst_glyphwarmup.moc"
