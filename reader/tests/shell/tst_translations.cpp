#include "ZkUtility.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

// The English translation must cover every text of the sources, not only the
// texts the .ts happened to hold when it was last updated; so the check runs
// the same update the lupdate target runs, on a copy.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void everyTextHasEnglish();
    void toolkitTextsFollowTheWindow_data();
    void toolkitTextsFollowTheWindow();
};

void TestTranslations::cleanup()
{
    qDeleteAll(qApp->findChildren<QTranslator *>());
}

void TestTranslations::everyTextHasEnglish()
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("quirelle_en_US.ts"));
    QVERIFY(QFile::copy(QStringLiteral(QUIRELLE_EN_TS), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);

    QStringList arguments = QStringLiteral(QUIRELLE_LUPDATE_ARGS).split(QLatin1Char('|'));
    arguments << QStringLiteral("-ts") << ts;
    QProcess lupdate;
    lupdate.start(QStringLiteral(QUIRELLE_LUPDATE), arguments);
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList untranslated;
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished =
                xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            if (xml.readElementText().isEmpty() || unfinished)
                untranslated << context + QLatin1String(": ") + source;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
}

void TestTranslations::toolkitTextsFollowTheWindow_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("open");
    // A locale without a folder gets the whole window in the fallback's
    // Chinese, the toolkit's buttons included.
    QTest::newRow("no folder") << "de_DE" << QStringLiteral("取消") << QStringLiteral("打开");
    QTest::newRow("traditional") << "zh_TW" << QStringLiteral("取消") << QStringLiteral("打開");
    QTest::newRow("english") << "en_US"
                             << "Cancel"
                             << "Open";
}

void TestTranslations::toolkitTextsFollowTheWindow()
{
    QFETCH(QString, locale);
    QFETCH(QString, cancel);
    QFETCH(QString, open);

    zk::setupTranslator(QStringLiteral(QUIRELLE_LOCALE_DIR), locale, qApp, QStringLiteral("zh_CN"));

    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
    QCOMPARE(QCoreApplication::translate("MainForm", "打开"), open);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
