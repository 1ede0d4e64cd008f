#include "BookmarkConfig.h"

#include <QTextCodec>
#include <QtTest>

namespace
{

QByteArray encoded(const QString &text, const char *codec = "GB18030")
{
    return QTextCodec::codecForName(codec)->fromUnicode(text);
}

QString describe(const BookmarkDataItem &items = BookmarkConfig::bookmarks)
{
    QStringList parts;
    for (const BookmarkEntry &entry : items)
        parts << entry.title + QLatin1Char('@') + entry.pos +
                     (entry.file.isEmpty() ? QString() : QLatin1Char('@') + entry.file);
    return parts.join(QLatin1Char('|'));
}

const QString Declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"GB18030\"?>\n");

} // namespace

class TestBookmarkConfig : public QObject
{
    Q_OBJECT

private slots:
    void writtenDocument_data()
    {
        QTest::addColumn<BookmarkDataItem>("items");
        QTest::addColumn<QString>("body");
        QTest::newRow("empty") << BookmarkDataItem()
                               << QStringLiteral("<Quirelle version=\"2\"/>\n");
        const QString title = QStringLiteral("三体：\"A&B\" <c>𠀀");
        QTest::newRow("duplicates and markup")
            << BookmarkDataItem{{title, "40"}, {title, "x"}, {"", ""}}
            << QStringLiteral(
                   "<Quirelle version=\"2\">\n"
                   "    <书签 标题=\"三体：&quot;A&amp;B&quot; &lt;c&gt;𠀀\" 位置=\"40\"/>\n"
                   "    <书签 标题=\"三体：&quot;A&amp;B&quot; &lt;c&gt;𠀀\" 位置=\"x\"/>\n"
                   "    <书签 标题=\"\" 位置=\"\"/>\n"
                   "</Quirelle>\n");
        QTest::newRow("with and without the file")
            << BookmarkDataItem{{"a", "7", "/书/A&B <c>.txt"}, {"b", "8"}}
            << QStringLiteral(
                   "<Quirelle version=\"2\">\n"
                   "    <书签 标题=\"a\" 位置=\"7\" 文件=\"/书/A&amp;B &lt;c&gt;.txt\"/>\n"
                   "    <书签 标题=\"b\" 位置=\"8\"/>\n"
                   "</Quirelle>\n");
    }

    // Written byte for byte, and read back unchanged.
    void writtenDocument()
    {
        QFETCH(BookmarkDataItem, items);
        QFETCH(QString, body);
        BookmarkConfig::bookmarks = items;
        m_config.save(m_file);
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), encoded(Declaration + body));

        BookmarkConfig::bookmarks.append(BookmarkEntry{"stale", "1"});
        m_config.load(m_file);
        QCOMPARE(describe(), describe(items));
    }

    void readForms_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        const QString entries =
            QStringLiteral("<书签 标题=\"a\" 位置=\"1\"/><其他 标题=\"no\"/>"
                           "<书签 位置=\"2\"/><书签 标题=\"c\"/>"
                           "<书签 标题=\"d\" 位置=\"3\" 文件=\"/书/&amp;.txt\"/>");
        const QString read = QStringLiteral("a@1|@2|c@|d@3@/书/&.txt");
        QTest::newRow("current") << encoded(Declaration + "<Quirelle version=\"2\">" + entries +
                                            "</Quirelle>")
                                 << read;
        QTest::newRow("older release")
            << encoded(Declaration + "<Quirel version=\"1\">" + entries + "</Quirel>") << read;
        QTest::newRow("oldest, any version")
            << encoded("<Root version=\"9\"><Bookmark title=\"t\" pos=\"5\"/><x/>"
                       "<Bookmark title=\"u\" pos=\"6\" 文件=\"/书.txt\"/></Root>",
                       "UTF-8")
            << QStringLiteral("t@5|u@6@/书.txt");
        QTest::newRow("root and version must pair")
            << encoded(Declaration + "<Quirelle version=\"1\">" + entries + "</Quirelle>")
            << QString();
        QTest::newRow("not xml") << QByteArray("\x00\xff garbage", 10) << QString();
        QTest::newRow("truncated")
            << encoded(Declaration + "<Quirelle version=\"2\"><书签 标题=\"a\" 位置=\"1\"/>"
                                     "<书签 标题=\"b\" 位置=\"2\"/><书签 标题=\"c")
            << QStringLiteral("a@1|b@2");
        QTest::newRow("utf-16")
            << encoded("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Quirelle "
                       "version=\"2\"><书签 标题=\"&amp;𠀀\" 位置=\"7\"/></Quirelle>",
                       "UTF-16LE")
            << QStringLiteral("&𠀀@7");
    }

    // Any file that opens replaces the list; what was read before an error stays.
    void readForms()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        file.close();
        BookmarkConfig::bookmarks = {{"before", "0"}};
        m_config.load(m_file);
        QCOMPARE(describe(), expected);
    }

    // A selection from a UTF-16 file may hold half a surrogate pair or control
    // characters; XML carries neither, and the bookmarks after it must survive.
    void unwritableTitlesAreMended()
    {
        BookmarkConfig::bookmarks.clear();
        m_config.append(QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("b\x01\x1f\tc\n𠀀") +
                            QChar(0xFFFE) + QChar(0xD800),
                        QStringLiteral("3"));
        m_config.append(QStringLiteral("later"), QStringLiteral("4"));
        const QString mended = QStringLiteral("a\xfffd") + QStringLiteral("b\tc\n𠀀\xfffd");
        QCOMPARE(BookmarkConfig::bookmarks.first().title, mended);
        // handed over whole, without append()
        BookmarkConfig::bookmarks.append(BookmarkEntry{QString(QChar(0xD800)), "\x02"});
        m_config.save(m_file);

        BookmarkConfig::bookmarks.clear();
        m_config.load(m_file);
        QCOMPARE(describe(), mended + QStringLiteral("@3|later@4|\xfffd@"));
    }

    // Stamps and removals are attributes and elements a release without them
    // passes over; this one reads them back, even past a damaged bookmark.
    void removalsAndStampsKept()
    {
        ChangeStamp::setThisMachine(QStringLiteral("m1"));
        BookmarkConfig::bookmarks.clear();
        BookmarkConfig::removed.clear();
        m_config.append(QStringLiteral("甲"), QStringLiteral("1"), QStringLiteral("/书.txt"));
        m_config.append(QStringLiteral("乙"), QStringLiteral("2"), QStringLiteral("/书.txt"));
        m_config.append(QStringLiteral("old"), QStringLiteral("3"));
        const ChangeStamp added = BookmarkConfig::bookmarks.first().stamp;
        m_config.replace({BookmarkConfig::bookmarks.first()});
        QCOMPARE(describe(BookmarkConfig::removed), QStringLiteral("乙@2@/书.txt"));
        m_config.save(m_file);

        QFile file(m_file);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        QVERIFY(
            bytes.contains(encoded("<删除的书签 标题=\"乙\" 位置=\"2\" 文件=\"/书.txt\" 时间=")));
        m_config.load(m_file);
        QCOMPARE(describe(), QStringLiteral("甲@1@/书.txt"));
        QCOMPARE(BookmarkConfig::bookmarks.first().stamp, added);
        QCOMPARE(describe(BookmarkConfig::removed), QStringLiteral("乙@2@/书.txt"));

        bytes.replace(encoded("标题=\"甲\""), encoded("标题=\"甲 & 丙\""));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        m_config.load(m_file);
        QCOMPARE(describe(), QStringLiteral("甲 & 丙@1@/书.txt"));
        QCOMPARE(describe(BookmarkConfig::removed), QStringLiteral("乙@2@/书.txt"));
    }

private:
    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(QStringLiteral("Bookmark.xml"));
    BookmarkConfig m_config;
};

QTEST_GUILESS_MAIN(TestBookmarkConfig)
#include "tst_bookmarkconfig.moc"
