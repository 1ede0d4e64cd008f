#include "ZkUtility.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

class TestZkUtility : public QObject
{
    Q_OBJECT

public slots:
    void receiveUrl(const QUrl &url) { m_openedUrls << url; }

private slots:
    void textFileCodec_data();
    void textFileCodec();
    void moveCenter_data();
    void moveCenter();
    void drawImageStretches();
    void drawImageTiles();
    void drawImageReplacesOtherColours();
    void openUrl_data();
    void openUrl();
    void setupTranslator_data();
    void setupTranslator();
    void setupTranslatorIgnoresMissingArguments();
    void cleanup();

private:
    QList<QUrl> m_openedUrls;
};

void TestZkUtility::cleanup()
{
    // Installed translators are children of the application; deleting them
    // uninstalls them, so every case starts untranslated.
    qDeleteAll(qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly));
}

void TestZkUtility::textFileCodec_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codec");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one byte") << QByteArray("\xFF") << 0;
    QTest::newRow("FF FE alone") << QByteArray("\xFF\xFE") << 3;
    QTest::newRow("FE FF alone") << QByteArray("\xFE\xFF") << 4;
    QTest::newRow("EF BB without BF") << QByteArray("\xEF\xBB") << 0;
    QTest::newRow("EF BB BF and text") << QByteArray("\xEF\xBB\xBFtext") << 1;
    QTest::newRow("UTF-32 LE mark reads as UTF-16 LE") << QByteArray("\xFF\xFE\x00\x00", 4) << 3;
    QTest::newRow("FF FF") << QByteArray("\xFF\xFF") << 0;
    QTest::newRow("plain ASCII") << QByteArray("abc") << 0;
    QTest::newRow("GBK bytes") << QByteArray("\xC4\xE3\xBA\xC3") << 0;
}

void TestZkUtility::textFileCodec()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codec);
    QCOMPARE(zk::textFileCodec(bytes), codec);
}

void TestZkUtility::moveCenter_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("reference");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("even") << QSize(300, 200) << QSize(1280, 1024) << QPoint(490, 412);
    QTest::newRow("odd sizes truncate") << QSize(301, 201) << QSize(1280, 1024) << QPoint(489, 411);
    QTest::newRow("larger than reference")
        << QSize(1000, 800) << QSize(640, 480) << QPoint(-180, -160);
    QTest::newRow("odd negative truncates toward zero")
        << QSize(641, 481) << QSize(640, 480) << QPoint(0, 0);
}

void TestZkUtility::moveCenter()
{
    QFETCH(QSize, size);
    QFETCH(QSize, reference);
    QFETCH(QPoint, expected);
    QWidget widget;
    widget.resize(size);
    QWidget desk;
    desk.setGeometry(QRect(QPoint(0, 0), reference));
    zk::moveCenter(&widget, &desk);
    QCOMPARE(widget.pos(), expected);
}

namespace
{

// Left half red, right half blue, so scaling and tiling are visible.
QPixmap halves(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), Qt::blue);
    return pixmap;
}

QImage render(QWidget *widget)
{
    return widget->grab().toImage();
}

} // namespace

void TestZkUtility::drawImageStretches()
{
    QWidget widget;
    widget.resize(200, 200);
    zk::drawImage(&widget, halves(QSize(100, 50)), QSize(200, 200));
    const QBrush brush = widget.palette().brush(widget.backgroundRole());
    QCOMPARE(brush.texture().size(), QSize(200, 200));
    QVERIFY(widget.autoFillBackground());
    const QImage image = render(&widget);
    QCOMPARE(image.pixelColor(20, 190), QColor(Qt::red));
    QCOMPARE(image.pixelColor(180, 10), QColor(Qt::blue));
}

void TestZkUtility::drawImageTiles()
{
    QWidget widget;
    widget.resize(400, 400);
    zk::drawImage(&widget, halves(QSize(10, 10)), QSize(200, 200));
    const QImage image = render(&widget);
    // Each 200 × 200 tile is red on its left half and blue on its right.
    for (int tileX : {0, 200}) {
        for (int tileY : {0, 200}) {
            QCOMPARE(image.pixelColor(tileX + 20, tileY + 100), QColor(Qt::red));
            QCOMPARE(image.pixelColor(tileX + 180, tileY + 100), QColor(Qt::blue));
        }
    }
}

void TestZkUtility::drawImageReplacesOtherColours()
{
    QWidget widget;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Qt::magenta);
    widget.setPalette(palette);
    zk::drawImage(&widget, halves(QSize(8, 8)), QSize(8, 8));
    QCOMPARE(widget.palette().color(QPalette::WindowText), QPalette().color(QPalette::WindowText));
}

void TestZkUtility::openUrl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("web") << "https://example.invalid/a b" << QUrl("https://example.invalid/a%20b");
    QTest::newRow("mail") << "mailto:someone@example.invalid"
                          << QUrl("mailto:someone@example.invalid");
}

void TestZkUtility::openUrl()
{
    QFETCH(QString, text);
    QFETCH(QUrl, expected);
    m_openedUrls.clear();
    for (const char *scheme : {"https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "receiveUrl");
    zk::openUrl(text);
    QCOMPARE(m_openedUrls, QList<QUrl>() << expected);
    for (const char *scheme : {"https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void TestZkUtility::setupTranslator_data()
{
    // Folder layout beside the program: <base>/<locale>/<files>. Each entry
    // is "folder/file=compiled translation".
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("translated"); // words that come out translated

    QTest::newRow("locale folder, three matching files")
        << QStringList{"de_DE/app_de_DE.qm=word_one", "de_DE/lib_de_DE.qm=word_two",
                       "de_DE/more-de_DE-x.qm=word_three", "zh_CN/app_zh_CN.qm=word_four"}
        << "de_DE" << QStringList{"eins", "zwei", "drei", "four"};
    QTest::newRow("file names not matching are left out")
        << QStringList{"de_DE/app_de_DE.qm=word_one", "de_DE/app_fr_FR.qm=word_two"} << "de_DE"
        << QStringList{"eins", "two", "three", "four"};
    QTest::newRow("match is case-insensitive")
        << QStringList{"de_DE/APP_DE_de.qm=word_one"} << "de_DE"
        << QStringList{"eins", "two", "three", "four"};
    QTest::newRow("present locale folder wins even without files")
        << QStringList{"de_DE/readme.txt=word_one", "zh_CN/app_zh_CN.qm=word_four"} << "de_DE"
        << QStringList{"one", "two", "three", "four"};
    QTest::newRow("missing locale folder falls back")
        << QStringList{"zh_CN/app_zh_CN.qm=word_four"} << "fr_FR"
        << QStringList{"one", "two", "three", "vier"};
    QTest::newRow("neither folder") << QStringList{"en_US/app_en_US.qm=word_one"} << "fr_FR"
                                    << QStringList{"one", "two", "three", "four"};
}

void TestZkUtility::setupTranslator()
{
    QFETCH(QStringList, layout);
    QFETCH(QString, locale);
    QFETCH(QStringList, translated);

    QTemporaryDir base;
    for (const QString &entry : layout) {
        const QString target = base.filePath(entry.section('=', 0, 0));
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        const QString source =
            QStringLiteral(TEST_QM_DIR "/") + entry.section('=', 1, 1) + QStringLiteral(".qm");
        QVERIFY2(QFile::copy(source, target), qPrintable(source));
    }

    zk::setupTranslator(base.path(), locale, qApp, QStringLiteral("zh_CN"));

    const QStringList words{"one", "two", "three", "four"};
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(QCoreApplication::translate("Words", qPrintable(words.at(i))), translated.at(i));
    for (QTranslator *translator : qApp->findChildren<QTranslator *>())
        QVERIFY(!translator->isEmpty());
}

void TestZkUtility::setupTranslatorIgnoresMissingArguments()
{
    QTemporaryDir base;
    QVERIFY(QDir().mkpath(base.filePath(QStringLiteral("de_DE"))));
    QVERIFY(QFile::copy(QStringLiteral(TEST_QM_DIR "/word_one.qm"),
                        base.filePath(QStringLiteral("de_DE/a_de_DE.qm"))));

    zk::setupTranslator(base.path(), QStringLiteral("de_DE"), nullptr, QStringLiteral("zh_CN"));
    zk::setupTranslator(QString(), QStringLiteral("de_DE"), qApp, QStringLiteral("zh_CN"));
    zk::setupTranslator(base.path(), QString(), qApp, QStringLiteral("de_DE"));
    QVERIFY(qApp->findChildren<QTranslator *>().isEmpty());

    // and the same folder does install when the call is complete
    zk::setupTranslator(base.path(), QStringLiteral("de_DE"), qApp, QStringLiteral("zh_CN"));
    QCOMPARE(qApp->findChildren<QTranslator *>().size(), 1);
}

QTEST_MAIN(TestZkUtility)
#include "tst_zkutility.moc"
