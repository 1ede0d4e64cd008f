#include "BookmarkConfig.h"

#include <QTextCodec>
#include <QtTest>

namespace
{

QByteArray gb18030(const QString &text)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(text);
}

const QString Declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"GB18030\"?>\n");

QString describe(const BookmarkDataItem &items)
{
    QStringList parts;
    for (const BookmarkEntry &entry : items)
        parts << entry.title + QLatin1Char('@') + entry.pos;
    return parts.join(QLatin1Char('|'));
}

} // namespace

class TestBookmarkConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writtenDocument_data();
    void writtenDocument();
    void readForms_data();
    void readForms();
    void unwritableTitlesAreMended();
    void hugeListRoundTrip();

private:
    QTemporaryDir m_dir;
    QString m_file;
    BookmarkConfig m_config;
};

void TestBookmarkConfig::init()
{
    BookmarkConfig::bookmarks.clear();
    m_file = m_dir.filePath(QStringLiteral("Bookmark.xml"));
    QFile::remove(m_file);
}

void TestBookmarkConfig::writtenDocument_data()
{
    QTest::addColumn<BookmarkDataItem>("items");
    QTest::addColumn<QString>("body");
    QTest::newRow("empty") << BookmarkDataItem() << QStringLiteral("<Quirelle version=\"2\"/>\n");
    QTest::newRow("duplicates and markup")
        << BookmarkDataItem{{QStringLiteral("三体：\"A&B\" <c>"), QStringLiteral("40")},
                            {QStringLiteral("三体：\"A&B\" <c>"), QStringLiteral("x")},
                            {QStringLiteral("𠀀"), QString()}}
        << QStringLiteral("<Quirelle version=\"2\">\n"
                          "    <书签 标题=\"三体：&quot;A&amp;B&quot; &lt;c&gt;\" 位置=\"40\"/>\n"
                          "    <书签 标题=\"三体：&quot;A&amp;B&quot; &lt;c&gt;\" 位置=\"x\"/>\n"
                          "    <书签 标题=\"𠀀\" 位置=\"\"/>\n"
                          "</Quirelle>\n");
}

// Written byte for byte, and read back unchanged.
void TestBookmarkConfig::writtenDocument()
{
    QFETCH(BookmarkDataItem, items);
    QFETCH(QString, body);
    BookmarkConfig::bookmarks = items;
    m_config.save(m_file);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), gb18030(Declaration + body));

    BookmarkConfig::bookmarks.append({QStringLiteral("stale"), QStringLiteral("1")});
    m_config.load(m_file);
    QCOMPARE(describe(BookmarkConfig::bookmarks), describe(items));
}

void TestBookmarkConfig::readForms_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");
    const QString entries = QStringLiteral("<书签 标题=\"a\" 位置=\"1\"/><其他 标题=\"no\"/>"
                                           "<书签 位置=\"2\"/><书签 标题=\"c\"/>");
    const QString read = QStringLiteral("a@1|@2|c@");
    QTest::newRow("current") << gb18030(Declaration + "<Quirelle version=\"2\">" + entries +
                                        "</Quirelle>")
                             << read;
    QTest::newRow("older release")
        << gb18030(Declaration + "<Quirel version=\"1\">" + entries + "</Quirel>") << read;
    QTest::newRow("oldest, any version")
        << QByteArray("<Root version=\"9\"><Bookmark title=\"t\" pos=\"5\"/>"
                      "<书签 标题=\"no\"/></Root>")
        << QStringLiteral("t@5");
    QTest::newRow("root and version mismatched")
        << gb18030(Declaration + "<Quirelle version=\"1\">" + entries + "</Quirelle>") << QString();
    QTest::newRow("older root, newer version")
        << gb18030(Declaration + "<Quirel version=\"2\">" + entries + "</Quirel>") << QString();
    QTest::newRow("wrong root") << gb18030(Declaration + "<Config>" + entries + "</Config>")
                                << QString();
    QTest::newRow("not xml") << QByteArray("\x00\xff garbage", 10) << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("truncated") << gb18030(Declaration +
                                          "<Quirelle version=\"2\"><书签 标题=\"a\" 位置=\"1\"/>"
                                          "<书签 标题=\"b\" 位置=\"2\"/><书签 标题=\"c")
                               << QStringLiteral("a@1|b@2");
    QTest::newRow("utf-16 file") << QTextCodec::codecForName("UTF-16LE")
                                        ->fromUnicode(QStringLiteral(
                                            "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                                            "<Quirelle version=\"2\"><书签 标题=\"&amp;𠀀\" "
                                            "位置=\"7\"/></Quirelle>"))
                                 << QStringLiteral("&𠀀@7");
}

// Any file that opens replaces the list; what was read before an error stays.
void TestBookmarkConfig::readForms()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    BookmarkConfig::bookmarks = {{QStringLiteral("before"), QStringLiteral("0")}};
    m_config.load(m_file);
    QCOMPARE(describe(BookmarkConfig::bookmarks), expected);
}

// A selection from a UTF-16 file may hold half a surrogate pair or control
// characters; XML carries neither, and the bookmarks after it must survive.
void TestBookmarkConfig::unwritableTitlesAreMended()
{
    m_config.append(QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("b\x01\x1f\tc\n𠀀") +
                        QChar(0xFFFE) + QChar(0xD800),
                    QStringLiteral("3"));
    m_config.append(QStringLiteral("later"), QStringLiteral("4"));
    const QString mended = QStringLiteral("a\xfffd") + QStringLiteral("b\tc\n𠀀\xfffd");
    QCOMPARE(BookmarkConfig::bookmarks.first().title, mended);
    BookmarkConfig::bookmarks.append({QString(QChar(0xD800)), QStringLiteral("\x02")});
    m_config.save(m_file);

    BookmarkConfig::bookmarks.clear();
    m_config.load(m_file);
    QCOMPARE(describe(BookmarkConfig::bookmarks), mended + QStringLiteral("@3|later@4|\xfffd@"));
}

void TestBookmarkConfig::hugeListRoundTrip()
{
    for (int i = 0; i < 20000; ++i)
        m_config.append(QStringLiteral("第%1章").arg(i), QString::number(i * 1000));
    const BookmarkDataItem written = BookmarkConfig::bookmarks;
    m_config.save(m_file);
    BookmarkConfig::bookmarks.clear();
    m_config.load(m_file);
    QCOMPARE(describe(BookmarkConfig::bookmarks), describe(written));
}

QTEST_GUILESS_MAIN(TestBookmarkConfig)
#include "tst_bookmarkconfig.moc"
