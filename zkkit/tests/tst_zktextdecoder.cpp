#include "ZkTextDecoder.h"

#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace
{

QByteArray encoded(const char *codec, const QString &text)
{
    return QTextCodec::codecForName(codec)->fromUnicode(text);
}

QByteArray gb18030(const QString &text)
{
    return encoded("GB18030", text);
}

// Without a byte-order mark.
QByteArray utf16(const QString &text, bool bigEndian)
{
    QTextCodec *codec = QTextCodec::codecForName(bigEndian ? "UTF-16BE" : "UTF-16LE");
    const std::unique_ptr<QTextEncoder> encoder(codec->makeEncoder(QTextCodec::IgnoreHeader));
    return encoder->fromUnicode(text);
}

const QString Chinese = QStringLiteral("第一章 天下大势，分久必合。\n“你好！”");
// U+20000 exists only in GB18030 (four bytes), not in GBK.
const QString BeyondGbk = QStringLiteral("甲\U00020000乙");
const QChar Replacement(QChar::ReplacementCharacter);

// The bytes as the reader's loader hands them to one decoder: stretches of
// about size bytes, each but the last ending at a line break. Text that
// proves not to be UTF-8 is decoded again from the start, as it is read
// again.
QString decodedInStretches(const QByteArray &bytes, int size, int *codec)
{
    ZkTextDecoder decoder = ZkTextDecoder::forFile(bytes);
    QString text;
    for (int from = 0; from < bytes.size();) {
        QByteArray stretch = bytes.mid(from, size);
        if (from + stretch.size() < bytes.size() &&
            ZkTextDecoder::lineEnd(stretch, decoder.codec()) > 0)
            stretch.truncate(ZkTextDecoder::lineEnd(stretch, decoder.codec()));
        QString piece;
        if (!decoder.decodeNext(stretch, &piece)) {
            *codec = decoder.codec();
            return ZkTextDecoder::decode(bytes, decoder.codec());
        }
        text += piece;
        from += stretch.size();
    }
    *codec = decoder.codec();
    return text;
}

} // namespace

class TestZkTextDecoder : public QObject
{
    Q_OBJECT

private slots:
    void detectedEncoding_data();
    void detectedEncoding();
    void forcedDecoding_data();
    void forcedDecoding();
    void html_data();
    void html();
    void lineEnd_data();
    void lineEnd();
};

// The same novel written in each encoding, without a mark unless a row says
// so: short texts (one paragraph) and long ones, whose middle is sampled
// apart from their start; CR LF line ends throughout. The codec is what
// detection and the proof of UTF-8 decide together, whether the text is
// decoded whole or in stretches as a long file is.
void TestZkTextDecoder::detectedEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // null: not compared
    QTest::addColumn<int>("codec");
    QTest::addColumn<QString>("locale");

    const QString simplified = QStringLiteral(
        "第一章 风起青萍之末\r\n　　山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去。\r\n");
    const QString traditional = QStringLiteral(
        "第一章 風起青萍之末\r\n　　山間的霧氣慢慢散開，少年背起行囊，沿著溪水往鎮上走去。\r\n");
    const QString english = QStringLiteral("The river runs east, and the fog lifts slowly.\r\n");
    for (const bool isLong : {false, true}) {
        const int copies = isLong ? 2000 : 1;
        const QString zh = simplified.repeated(copies), tw = traditional.repeated(copies);
        const QString size = isLong ? QStringLiteral("long ") : QStringLiteral("short ");
        const auto row = [&](const QString &name, const QByteArray &bytes, const QString &text,
                             int codec, const QString &locale = QStringLiteral("C")) {
            QTest::newRow(qPrintable(size + name)) << bytes << text << codec << locale;
        };
        row("GB18030", gb18030(zh), zh, ZkTextDecoder::Gb18030);
        row("traditional in GB18030", gb18030(tw), tw, ZkTextDecoder::Gb18030);
        row("Big5", encoded("Big5", tw), tw, ZkTextDecoder::Big5);
        row("UTF-8", zh.toUtf8(), zh, ZkTextDecoder::Utf8);
        row("UTF-8 marked", "\xEF\xBB\xBF" + tw.toUtf8(), tw, ZkTextDecoder::Utf8);
        for (const bool big : {false, true}) {
            const int codec =
                big ? ZkTextDecoder::Utf16BigEndian : ZkTextDecoder::Utf16LittleEndian;
            const QString name = big ? QStringLiteral("UTF-16 BE") : QStringLiteral("UTF-16 LE");
            row(name, utf16(tw, big), tw, codec);
            row(name + " marked", (big ? "\xFE\xFF" : "\xFF\xFE") + utf16(zh, big), zh, codec);
            row(name + " English", utf16(english.repeated(copies), big), english.repeated(copies),
                codec);
        }
        const QString mixed = english.repeated(40 * copies) + simplified + english.repeated(40);
        row("English with a Chinese line in GBK", encoded("GBK", mixed), mixed,
            ZkTextDecoder::Gb18030);
        row("English with a Chinese line in GBK, traditional locale", encoded("GBK", mixed), mixed,
            ZkTextDecoder::Gb18030, QStringLiteral("zh_TW"));
    }
    // Stray zero bytes do not make UTF-16 of a text in another encoding.
    const QByteArray gbk = gb18030(simplified.repeated(30));
    const QByteArray zeros = gbk.left(700) + '\0' + gbk.mid(700, 901) + '\0' + gbk.mid(1601);
    QTest::newRow("GBK with stray zero bytes")
        << zeros << QString() << int(ZkTextDecoder::Gb18030) << "C";
    const QByteArray ascii = english.repeated(30).toUtf8();
    const QByteArray asciiZeros =
        ascii.left(99) + '\0' + ascii.mid(99, 500) + '\0' + ascii.mid(599);
    QTest::newRow("ASCII with stray zero bytes")
        << asciiZeros
        << QString::fromUtf8(ascii.left(99)) + Replacement + QString::fromUtf8(ascii.mid(99, 500)) +
               Replacement + QString::fromUtf8(ascii.mid(599))
        << int(ZkTextDecoder::Utf8) << "C";
    // Only the whole text, beyond the parts sampled, betrays a GBK file that
    // starts and goes on in ASCII.
    const QString late = english.repeated(3000) + simplified + english.repeated(3000);
    QTest::newRow("GBK after 140 KB of ASCII")
        << gb18030(late) << late << int(ZkTextDecoder::Gb18030) << "C";
    // Too short for uchardet: the locale's Chinese code page.
    QTest::newRow("a few Big5 characters, traditional locale")
        << encoded("Big5", QStringLiteral("你好，世界。")) << QStringLiteral("你好，世界。")
        << int(ZkTextDecoder::Big5) << "zh_HK";
    QTest::newRow("GB18030 four-byte character")
        << gb18030(BeyondGbk) << BeyondGbk << int(ZkTextDecoder::Gb18030) << "C";
    QTest::newRow("UTF-8 with a mark, beyond GBK")
        << QByteArray("\xEF\xBB\xBF") + BeyondGbk.toUtf8() << BeyondGbk << int(ZkTextDecoder::Utf8)
        << "C";
    QTest::newRow("UTF-16 LE of odd length drops its last byte")
        << QByteArray("\xFF\xFE") + utf16(QStringLiteral("ab"), false) + 'c' << QStringLiteral("ab")
        << int(ZkTextDecoder::Utf16LittleEndian) << "C";
    QTest::newRow("only a UTF-16 mark")
        << QByteArray("\xFF\xFE") << QString("") << int(ZkTextDecoder::Utf16LittleEndian) << "C";
    QTest::newRow("empty") << QByteArray() << QString("") << int(ZkTextDecoder::Utf8) << "C";
    QTest::newRow("one byte") << QByteArray("x") << QStringLiteral("x") << int(ZkTextDecoder::Utf8)
                              << "C";
    // A truncated UTF-8 sequence means the text is not UTF-8 after all.
    const QByteArray cut = gb18030(QStringLiteral("天")) + QByteArray("\xE5\xA4");
    QTest::newRow("invalid UTF-8 falls back to GB18030")
        << cut << QTextCodec::codecForName("GB18030")->toUnicode(cut) << int(ZkTextDecoder::Gb18030)
        << "C";
    // Every byte counts: a zero byte shows, one for one.
    QTest::newRow("zero byte in GB18030")
        << gb18030(Chinese + '\0' + Chinese) << Chinese + Replacement + Chinese
        << int(ZkTextDecoder::Gb18030) << "C";
    QTest::newRow("zero byte in UTF-16 LE")
        << QByteArray("\xFF\xFE") + utf16(QStringLiteral("甲\0乙"), false)
        << QStringLiteral("甲") + Replacement + "乙" << int(ZkTextDecoder::Utf16LittleEndian)
        << "C";
}

void TestZkTextDecoder::detectedEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, codec);
    QFETCH(QString, locale);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    int whole = -1;
    const QString text = ZkTextDecoder::decodeText(bytes, &whole);
    int inStretches = -1;
    const QString stretched = decodedInStretches(bytes, 4096, &inStretches);
    QLocale::setDefault(before);

    QCOMPARE(whole, codec);
    QCOMPARE(inStretches, codec);
    QCOMPARE(stretched, text);
    QVERIFY(!text.contains(QChar(0)));
    if (!expected.isNull())
        QCOMPARE(text, expected);
}

void TestZkTextDecoder::forcedDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codec");
    QTest::addColumn<QString>("expected");

    const QByteArray marked = QByteArray("\xEF\xBB\xBF") + Chinese.toUtf8();
    const QString shown = QStringLiteral("甲") + Replacement + "乙";
    QTest::newRow("ANSI keeps a UTF-8 mark as text")
        << marked << 0 << QTextCodec::codecForName("GB18030")->toUnicode(marked);
    QTest::newRow("ANSI on plain UTF-8 is not second-guessed")
        << Chinese.toUtf8() << 0
        << QTextCodec::codecForName("GB18030")->toUnicode(Chinese.toUtf8());
    QTest::newRow("UTF-8 on a marked file drops the mark") << marked << 1 << Chinese;
    QTest::newRow("UTF-8 on GBK shows replacement characters")
        << gb18030(QStringLiteral("天")) << 1 << QString(2, Replacement);
    QTest::newRow("unknown number decodes as GB18030") << gb18030(BeyondGbk) << 7 << BeyondGbk;
    QTest::newRow("zero byte, UTF-8") << QStringLiteral("甲\0乙").toUtf8() << 1 << shown;
    QTest::newRow("zero byte, ANSI") << gb18030(QStringLiteral("甲\0乙")) << 0 << shown;
    QTest::newRow("zero byte, Big5") << QByteArray("a\0b", 3) << 6
                                     << QStringLiteral("a\xfffd"
                                                       "b");
}

// A chosen codec decodes as told, with a decoder of its own or at once.
void TestZkTextDecoder::forcedDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codec);
    QFETCH(QString, expected);
    QCOMPARE(ZkTextDecoder::decode(bytes, codec), expected);
    QString text;
    QVERIFY(ZkTextDecoder(codec).decodeNext(bytes, &text));
    QCOMPARE(text, expected);
}

void TestZkTextDecoder::html_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("charset declared")
        << QByteArray("<meta charset=\"big5\"><p>") + encoded("Big5", QStringLiteral("你好"))
        << QStringLiteral("<meta charset=\"big5\"><p>你好");
    QTest::newRow("no charset, UTF-8")
        << QStringLiteral("<p>你好").toUtf8() << QStringLiteral("<p>你好");
    QTest::newRow("no charset, GB18030") << gb18030(QStringLiteral("<p>天下大势，分久必合"))
                                         << QStringLiteral("<p>天下大势，分久必合");
    QTest::newRow("no charset, neither")
        << QByteArray("<b>caf\xe9</b>") << QStringLiteral("<b>café</b>");
}

void TestZkTextDecoder::html()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(ZkTextDecoder::decodeHtml(bytes), expected);
}

void TestZkTextDecoder::lineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codec");
    QTest::addColumn<int>("end");
    QTest::newRow("GB18030") << gb18030(QStringLiteral("甲\r\n乙")) << 5 << 4;
    QTest::newRow("no line break") << gb18030(QStringLiteral("甲乙")) << 5 << 0;
    QTest::newRow("UTF-16 LE") << utf16(QStringLiteral("\n甲\n乙"), false) << 3 << 6;
    // 0x0A00 is no line break, nor is a 0x0A byte that starts a unit's second half
    QTest::newRow("UTF-16 LE, 0x0A in high bytes")
        << utf16(QStringLiteral("\u0a00\u0a0a"), false) << 3 << 0;
    QTest::newRow("UTF-16 BE") << utf16(QStringLiteral("甲\n乙"), true) << 4 << 4;
}

void TestZkTextDecoder::lineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codec);
    QFETCH(int, end);
    QCOMPARE(ZkTextDecoder::lineEnd(bytes, codec), end);
}

QTEST_MAIN(TestZkTextDecoder)
#include "tst_zktextdecoder.moc"
