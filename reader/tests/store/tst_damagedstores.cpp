#include "BookmarkConfig.h"
#include "Config.h"

#include <QTextCodec>
#include <QtTest>

#include <functional>

namespace
{

QByteArray dataFile(const char *name)
{
    QFile file(QStringLiteral(QUIRELLE_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray gb18030(const QString &text)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(text);
}

// The parts of each store a damaged file can reach, as one line.
QString bookmarks()
{
    QStringList parts;
    for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
        parts << entry.title + QLatin1Char('@') + entry.pos;
    return parts.join(QLatin1Char('|'));
}

QString settings()
{
    return QStringList{Config::textFont.family(),
                       QString::number(Config::textFont.pointSize()),
                       Config::textColor.name(),
                       QString::number(Config::scrollScreenTime),
                       QString::number(Config::scrollPageTime),
                       Config::fileList.join(',')}
        .join(QLatin1Char('|'));
}

void resetStores()
{
    BookmarkConfig::bookmarks.clear();
    Config::textFont = QFont(QStringLiteral("宋体"), 12);
    Config::textColor = Qt::black;
    Config::scrollScreenTime = 200;
    Config::scrollPageTime = 5;
    Config::fileList.clear();
}

const QString Novel =
    QStringLiteral("第一章 风雪山神庙@0|第二章 林冲 & 鲁智深@1000|第三章 野猪林@2000|"
                   "第四章 火并王伦@3000|第五章 智取生辰纲@4000");
const QString Defaults = QStringLiteral("宋体|12|#000000|200|5|");

} // namespace

class TestDamagedStores : public QObject
{
    Q_OBJECT

private slots:
    void loseNothing_data();
    void loseNothing();
};

void TestDamagedStores::loseNothing_data()
{
    QTest::addColumn<bool>("isBookmarks");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("kept"); // the original is kept beside the file
    const QString declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"GB18030\"?>\n");
    const auto marks = [&](const QString &body) {
        return gb18030(declaration + "<Quirelle version=\"2\">" + body);
    };
    QTest::newRow("one unescaped &")
        << true << dataFile("bookmark_one_bad_byte.xml") << Novel << true;
    QTest::newRow("newer version")
        << true << dataFile("bookmark_future_version.xml") << Novel << true;
    QTest::newRow("cut off") << true
                             << marks("<书签 标题=\"a\" 位置=\"1\"/><书签 标题=\"b\" 位置=\"2\"/>"
                                      "<书签 标题=\"c")
                             << "a@1|b@2" << true;
    QTest::newRow("stray < in a title")
        << true
        << marks("<书签 标题=\"a\" 位置=\"1\"/><书签 标题=\"<b\" 位置=\"2\"/>"
                 "<书签 标题=\"c\" 位置=\"3\"/></Quirelle>")
        << "a@1|c@3" << true;
    QTest::newRow("broken root") << true
                                 << gb18030(declaration +
                                            "<Quirelle version=\"2\" <书签 标题=\"a\" "
                                            "位置=\"1\"/></Quirelle>")
                                 << "a@1" << true;
    QTest::newRow("damaged declaration")
        << true
        << gb18030("<?xml version=\"1.0\" encoding=\"GB1803x\"?><Quirelle version=\"2\">"
                   "<书签 标题=\"甲\" 位置=\"1\"/><书签 标题=\"乙\" 位置=\"2\"/></Quirelle>")
        << "甲@1|乙@2" << true;
    QTest::newRow("damaged version")
        << true
        << gb18030(declaration + "<Quirelle versi0n=\"2\"><书签 标题=\"a\" 位置=\"1\"/></Quirelle>")
        << "a@1" << true;
    QTest::newRow("another program's file")
        << true << QByteArray("<html><p>x</p></html>") << QString() << true;
    QTest::newRow("empty") << true << QByteArray() << QString() << false;
    QTest::newRow("whole") << true << marks("<书签 标题=\"a\" 位置=\"1\"/></Quirelle>") << "a@1"
                           << false;

    QTest::newRow("settings after a damaged element")
        << false
        << marks(
               "<文本字体 字体=\"A\" 大小=\"20\"/><文本颜色 r=\"1\" g=/><自动滚动 滚动时间=\"350\" "
               "翻页时间=\"9\"/><文件列表><文件>/a</文件><文件>/b & c</文件></文件列表>")
        << "A|20|#000000|350|9|/a,/b & c" << true;
    QTest::newRow("settings of a newer version")
        << false
        << gb18030(declaration + "<Quirelle version=\"3\"><自动滚动 滚动时间=\"350\"/><未知/>"
                                 "</Quirelle>")
        << "宋体|12|#000000|350|5|" << true;
    QTest::newRow("settings, whole") << false << marks("<自动滚动 翻页时间=\"7\"/></Quirelle>")
                                     << "宋体|12|#000000|200|7|" << false;
    QTest::newRow("settings, empty") << false << QByteArray() << Defaults << false;
}

// What could be read survives a load and two saves, and a file that was not
// read whole is kept, once, before it is replaced.
void TestDamagedStores::loseNothing()
{
    QFETCH(bool, isBookmarks);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath(isBookmarks ? "Bookmark.xml" : "Config.xml");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    BookmarkConfig bookmarkStore;
    Config configStore;
    ZkXmlFile *store = isBookmarks ? static_cast<ZkXmlFile *>(&bookmarkStore) : &configStore;
    const std::function<QString()> describe = isBookmarks ? bookmarks : settings;

    resetStores();
    store->load(path);
    QCOMPARE(describe(), expected);
    QSignalSpy keptSpy(store, &ZkXmlFile::originalKept);
    QVERIFY(store->save(path));
    QVERIFY(store->save(path));
    QCOMPARE(keptSpy.count(), int(kept));
    const QStringList copies = QDir(dir.path()).entryList({"*.xml.*"}, QDir::Files);
    QCOMPARE(copies.size(), int(kept));
    if (kept) {
        QCOMPARE(keptSpy.first().at(1).toString(), dir.filePath(copies.first()));
        QFile copy(dir.filePath(copies.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), content);
    }

    resetStores();
    store->load(path);
    QCOMPARE(describe(), expected);
}

QTEST_GUILESS_MAIN(TestDamagedStores)
#include "tst_damagedstores.moc"
