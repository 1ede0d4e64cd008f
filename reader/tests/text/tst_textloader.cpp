#include "TextLoader.h"
#include "TextTransform.h"
#include "ZkTextDecoder.h"

#include <QRandomGenerator>
#include <QTextCodec>
#include <QtTest>

namespace
{

QString novel(const QString &line, int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QString::number(i) + line.left(6 + i % line.size()) + QStringLiteral("\r\n");
    return text;
}

QByteArray gb18030(const QString &text)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(text);
}

// What a loader hands over, put together as the window would.
struct Arrival {
    QString text;
    PositionMap map;
    QList<int> restarts;
    qint64 bytesRead = 0;
    bool finished = false;
    QString error;
    bool taking = true; // a window too busy to take the text does not
};

void follow(TextLoader *loader, Arrival *arrival)
{
    QObject::connect(
        loader, &TextLoader::pieceRead, loader,
        [loader, arrival](const QString &text, const PositionMap &map, qint64 bytesRead) {
            arrival->text += text;
            arrival->map.append(map, 0, 0);
            arrival->bytesRead = bytesRead;
            if (arrival->taking)
                loader->pieceTaken(text.size());
        });
    QObject::connect(loader, &TextLoader::restarted, loader, [arrival](int codec) {
        arrival->restarts << codec;
        arrival->text.clear();
    });
    QObject::connect(loader, &TextLoader::finished, loader,
                     [arrival] { arrival->finished = true; });
    QObject::connect(loader, &TextLoader::failed, loader,
                     [arrival](const QString &error) { arrival->error = error; });
}

} // namespace

Q_DECLARE_METATYPE(Script)

// The road from a file's bytes to its text, without any window: what open()
// answers at once, and what follows on the worker pool.
class TestTextLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("codec");    // asked for
        QTest::addColumn<int>("detected"); // answered at once
        QTest::addColumn<int>("final");    // once the whole text is in
        const QString zh =
            novel(QStringLiteral("天下大势，分久必合，合久必分。周末七国分争"), 90000);
        QTest::newRow("short") << gb18030(zh.left(300)) << -1 << 5 << 5;
        QTest::newRow("long GB18030") << gb18030(zh) << -1 << 5 << 5;
        QTest::newRow("long UTF-8, chosen") << zh.toUtf8() << 1 << 1 << 1;
        // ASCII where the decoder samples, GB18030 only beyond: taken for
        // UTF-8 at first, then read again.
        const QString late = novel(QStringLiteral("The river runs east."), 60000) + zh.left(400) +
                             novel(QStringLiteral("The fog lifts."), 20000);
        QTest::newRow("read again") << gb18030(late) << -1 << 1 << 5;
    }

    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, codec);
        QFETCH(int, detected);
        QFETCH(int, final);
        TextLoader loader;
        Arrival arrival;
        follow(&loader, &arrival);
        const QString path = writeFile(QStringLiteral("novel.txt"), bytes);
        const OpenResult result = loader.open(path, codec);

        QCOMPARE(result.status, OpenResult::Opened);
        QCOMPARE(result.codec, detected);
        QCOMPARE(result.fileSize, bytes.size());
        const QString whole = ZkTextDecoder::decode(bytes, final);
        if (result.complete()) {
            QCOMPARE(result.text, whole);
            return;
        }
        QVERIFY(result.text.size() < whole.size() / 4);
        arrival.text = result.text;
        QTRY_VERIFY_WITH_TIMEOUT(arrival.finished, 20000);
        QCOMPARE(arrival.restarts, final == detected ? QList<int>() : QList<int>{final});
        QCOMPARE(arrival.bytesRead, bytes.size());
        QCOMPARE(arrival.text, whole);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("missing") << "missing" << int(OpenResult::Missing);
        QTest::newRow("folder") << "folder" << int(OpenResult::Unreadable);
        QTest::newRow("empty") << "empty" << int(OpenResult::Empty);
    }

    // A file that cannot be opened says why and leaves the load under way
    // alone.
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        const QString zh = novel(QStringLiteral("子丑寅卯辰巳午未申酉戌亥"), 90000);
        TextLoader loader;
        Arrival arrival;
        follow(&loader, &arrival);
        const OpenResult first = loader.open(writeFile(QStringLiteral("first.txt"), gb18030(zh)));
        arrival.text = first.text;
        const QString path = m_dir.filePath(kind);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        if (kind == QLatin1String("empty"))
            writeFile(kind, QByteArray());
        const OpenResult failed = loader.open(path);

        QCOMPARE(int(failed.status), status);
        QCOMPARE(failed.fileName, path);
        QCOMPARE(failed.error.isEmpty(), status != OpenResult::Unreadable);
        QTRY_VERIFY_WITH_TIMEOUT(arrival.finished, 20000);
        QCOMPARE(arrival.text, zh);
    }

    void textOrNot_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("codec");
        QTest::addColumn<bool>("text");
        QRandomGenerator random(31);
        QByteArray compressed(20000, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(compressed.data()), compressed.size() / 4);
        const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"
                                                   "000003200000025808060000009a") +
                               compressed;
        QByteArray elf = QByteArray::fromHex("7f454c4602010100") + QByteArray(56, '\0');
        for (int i = 0; i < 3000; ++i) // code and tables: small numbers, many zeros
            elf += QByteArray::fromHex("488b0500000000c3") + char(i % 7);
        const QString zh = novel(QStringLiteral("天下大势，分久必合，合久必分。"), 300);
        QByteArray stray = gb18030(zh);
        stray[500] = '\0';
        const QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE");
        QTest::newRow("PNG") << png << -1 << false;
        QTest::newRow("program") << elf << -1 << false;
        QTest::newRow("PNG in a chosen encoding") << png << 5 << true;
        QTest::newRow("UTF-16 with a mark")
            << QByteArray("\xff\xfe") + utf16->fromUnicode(zh) << -1 << true;
        QTest::newRow("UTF-16 without a mark") << utf16->fromUnicode(zh) << -1 << true;
        QTest::newRow("GBK with a stray zero byte") << stray << -1 << true;
    }

    // Bytes that are not text are not read unless asked for anyway.
    void textOrNot()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, codec);
        QFETCH(bool, text);
        TextLoader loader;
        const QString path = writeFile(QStringLiteral("maybe.txt"), bytes);
        const OpenResult result = loader.open(path, codec);
        QCOMPARE(result.status, text ? OpenResult::Opened : OpenResult::NotText);
        QVERIFY(result.text.isEmpty() != text);
        const OpenResult anyway = loader.open(path, codec, TransformOptions(), true);
        QCOMPARE(anyway.status, OpenResult::Opened);
        QCOMPARE(anyway.text.isEmpty(), false);
    }

    // A long file cleaned and tidied (and converted) as it arrives comes out
    // as the whole of it would, and so does its map.
    void transformedInPieces_data()
    {
        QTest::addColumn<Script>("script");
        QTest::newRow("cleaned and tidied") << Script::Unchanged;
        QTest::newRow("and in Taiwan's words") << Script::TraditionalTaiwanPhrases;
    }

    void transformedInPieces()
    {
        QFETCH(Script, script);
        QString text;
        for (int i = 0; i < 40000; ++i) {
            text += QStringLiteral("第%1行，天下大势，分久必合，鼠标和软件").arg(i) +
                    QStringLiteral("\r\n");
            if (i % 7 == 3)
                text += QStringLiteral("www.xiabook.com\r\n\r\n");
        }
        TransformOptions options;
        options.builtInRules = true;
        options.tidyParagraphs = true;
        options.script = script;
        options.rules = {
            {QStringLiteral("甲"), QStringLiteral("大势"), QStringLiteral("大勢"), false, true}};
        TextLoader loader;
        Arrival arrival;
        follow(&loader, &arrival);
        const OpenResult result =
            loader.open(writeFile(QStringLiteral("novel.txt"), gb18030(text)), -1, options);
        QVERIFY(!result.complete());
        arrival.text = result.text;
        arrival.map = result.map;
        QTRY_VERIFY_WITH_TIMEOUT(arrival.finished, 20000);
        const ShownText whole = TextTransform::apply(text, options);
        QCOMPARE(arrival.text, whole.text);
        QCOMPARE(arrival.map.changeCount(), whole.map.changeCount());
        for (int f = 0; f < text.size(); f += 997)
            QCOMPARE(arrival.map.toShown(f), whole.map.toShown(f));
        QVERIFY(!whole.text.contains(QStringLiteral("xiabook")));
        QCOMPARE(whole.text.contains(QStringLiteral("滑鼠和軟體")),
                 script == Script::TraditionalTaiwanPhrases);
    }

    // Only the newest load speaks, also when the one before waits for a
    // window that takes nothing.
    void nextFileSilencesTheFirst()
    {
        const QString first = novel(QStringLiteral("甲乙丙丁戊己庚辛壬癸"), 200000);
        const QString second = novel(QStringLiteral("子丑寅卯辰巳午未申酉"), 70000);
        TextLoader loader;
        Arrival arrival;
        arrival.taking = false;
        follow(&loader, &arrival);
        loader.open(writeFile(QStringLiteral("first.txt"), gb18030(first)));
        QTRY_VERIFY(!arrival.text.isEmpty());
        arrival = Arrival();
        arrival.text = loader.open(writeFile(QStringLiteral("second.txt"), gb18030(second))).text;
        QTRY_VERIFY_WITH_TIMEOUT(arrival.finished, 20000);
        QCOMPARE(arrival.text, second);
    }
};

QTEST_GUILESS_MAIN(TestTextLoader)
#include "tst_textloader.moc"
