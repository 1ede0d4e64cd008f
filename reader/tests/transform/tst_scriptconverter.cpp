#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "TextTransform.h"
#include "TextTransformer.h"

#include <QtTest>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <SimpleConverter.hpp>
#pragma GCC diagnostic pop

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(ScriptChoice::Region)

namespace
{

TransformOptions inScript(Script script)
{
    TransformOptions options;
    options.script = script;
    return options;
}

// Line by line, as the loader hands a long file over.
QString lineByLine(const QString &text, Script script, PositionMap *map)
{
    TextTransformer transformer(inScript(script));
    QString shown;
    for (int from = 0; from < text.size();) {
        int end = text.indexOf(QLatin1Char('\n'), from);
        end = end < 0 ? text.size() : end + 1;
        const TextTransformer::Output output =
            transformer.transform(text.mid(from, end - from), end == text.size());
        shown += output.text;
        map->append(output.map, 0, 0);
        from = end;
    }
    return shown;
}

const QString Mixed = QStringLiteral(
    "第一章 先进的鼠标\n　　那个人很猛，收拾了内存和软件才走。他著有一本名著，看着窗外的云彩。\n"
    "“你好！”她说：“见注[1]：http://example.com/a_b 和 Windows 10。”\n"
    "這是繁體字，他們說話，心裡想著，裏面爲什麼？説話的人走了。頭髮、乾淨、幹活。\n");

} // namespace

class TestScriptConverter : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void regionOfText_data();
    void regionOfText();
    void sameAsOpenCC_data();
    void sameAsOpenCC();
    void positionsThroughLengthChanges();
    void longStretchInHalves();
    void missingConfiguration();
};

// What a reader sees in each script; the first rows are what tables of single
// characters got wrong in other readers. Every row is converted whole and
// line by line, which must agree.
void TestScriptConverter::conversions_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("先进 is a phrase, not a car") << Script::Traditional << "先进的技术" << "先進的技術";
    QTest::newRow("那個人 is that person") << Script::Simplified << "那個人走了，他們還在。" << "那个人走了，他们还在。";
    QTest::newRow("猛 stays 猛") << Script::Simplified << "這個人很猛。" << "这个人很猛。";
    QTest::newRow("收拾 stays 收拾") << Script::Simplified << "他們收拾行李。" << "他们收拾行李。";
    QTest::newRow("才 stays 才 in Taiwan's script") << Script::TraditionalTaiwan << "他才来，说了一会儿" << "他才來，說了一會兒";
    QTest::newRow("才 stays 才 in Hong Kong's script") << Script::TraditionalHongKong << "刚才" << "剛才";
    QTest::newRow("OpenCC's own standard writes 纔") << Script::Traditional << "刚才，才能" << "剛纔，才能";
    QTest::newRow("a footnote link stays whole") << Script::TraditionalTaiwanPhrases << "见注[1]：http://example.com/a_b" << "見注[1]：http://example.com/a_b";
    QTest::newRow("Taiwan's 著 becomes 着") << Script::Simplified << "他看著我，心裡想著。" << "他看着我，心里想着。";
    QTest::newRow("Taiwan's words become the mainland's") << Script::Simplified << "滑鼠和軟體，記憶體不足，心裡想著。" << "鼠标和软件，内存不足，心里想着。";
    QTest::newRow("Hong Kong's variants") << Script::Simplified << "他説話，衞生。" << "他说话，卫生。";
    QTest::newRow("phrases that change length") << Script::TraditionalTaiwanPhrases << "内存不足，鼠标和软件" << "記憶體不足，滑鼠和軟體";
    QTest::newRow("Taiwan without its words") << Script::TraditionalTaiwan << "鼠标和软件，里面" << "鼠標和軟件，裡面";
    QTest::newRow("Hong Kong") << Script::TraditionalHongKong << "他说Windows 10很好" << "他説Windows 10很好";
    QTest::newRow("punctuation stays") << Script::Traditional << "“你好！”他说：（一）《书》……" << "“你好！”他說：（一）《書》……";
    QTest::newRow("already traditional") << Script::Traditional << "這是繁體字，頭髮乾淨。" << "這是繁體字，頭髮乾淨。";
    QTest::newRow("already simplified") << Script::Simplified << "这是简体字，头发干净。" << "这是简体字，头发干净。";
    QTest::newRow("Latin and digits alone") << Script::Traditional << "Chapter 12: abc" << "Chapter 12: abc";
    QTest::newRow("lines and CR LF") << Script::TraditionalTaiwanPhrases << "鼠标\r\n软件\r\n\r\n内存" << "滑鼠\n軟體\n\n記憶體";
    QTest::newRow("unchanged") << Script::Unchanged << "鼠标\r\n" << "鼠标\r\n";
    // clang-format on
}

void TestScriptConverter::conversions()
{
    QFETCH(Script, script);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const ShownText whole = TextTransform::apply(text, inScript(script));
    QCOMPARE(whole.text, shown);
    PositionMap map;
    QCOMPARE(lineByLine(text, script, &map), shown);
    QCOMPARE(map.changes().size(), whole.map.changes().size());
    // Positions on either side go forward together and stay in the text.
    int file = 0;
    for (int s = 0; s <= whole.text.size(); ++s) {
        const int f = whole.map.toFile(s);
        QVERIFY(f >= file && f <= text.size());
        file = f;
    }
}

void TestScriptConverter::regionOfText_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<ScriptChoice::Region>("region");
    QTest::newRow("simplified") << "他们说这里的头发很干净。" << ScriptChoice::Region::Simplified;
    QTest::newRow("Taiwan") << "他們看著窗外，心裡想著軟體的事。" << ScriptChoice::Region::Taiwan;
    QTest::newRow("Hong Kong") << "他們説話，衞生，温暖。" << ScriptChoice::Region::HongKong;
    QTest::newRow("traditional of no region")
        << "他們說話，頭髮乾淨。" << ScriptChoice::Region::Traditional;
    QTest::newRow("Latin only") << "Chapter one" << ScriptChoice::Region::Simplified;
}

void TestScriptConverter::regionOfText()
{
    QFETCH(QString, sample);
    QFETCH(ScriptChoice::Region, region);
    QCOMPARE(ScriptChoice::regionOf(sample), region);
}

// The matching is the reader's own, the dictionaries OpenCC's: for every
// configuration the reader uses, the text it shows is what OpenCC gives.
void TestScriptConverter::sameAsOpenCC_data()
{
    QTest::addColumn<QString>("configuration");
    for (const char *name : {"s2t.json", "s2tw.json", "s2twp.json", "s2hk.json", "t2s.json",
                             "tw2s.json", "tw2sp.json", "hk2s.json"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestScriptConverter::sameAsOpenCC()
{
    QFETCH(QString, configuration);
    const auto converter = ScriptConverter::forConfiguration(configuration);
    QVERIFY(converter);
    const opencc::SimpleConverter reference(configuration.toStdString());
    const QString expected = QString::fromStdString(reference.Convert(Mixed.toStdString()));
    QCOMPARE(converter->convert(Mixed), expected);
    QVERIFY(converter->convert(Mixed) != Mixed);
}

// A bookmark and a reading position are file positions: through a
// conversion that makes words longer they land on the same words shown, and
// come back as they were.
void TestScriptConverter::positionsThroughLengthChanges()
{
    const QString text =
        QStringLiteral("内存不足\n鼠标和软件都坏了。\n书签在这里：第二章 信息\n读到这里\n");
    const ShownText shown = TextTransform::apply(text, inScript(Script::TraditionalTaiwanPhrases));
    QCOMPARE(shown.text,
             QStringLiteral("記憶體不足\n滑鼠和軟體都壞了。\n書籤在這裡：第二章 資訊\n讀到這裡\n"));
    const struct {
        QString fileWord;
        QString shownWord;
    } places[] = {{"书签", "書籤"}, {"第二章", "第二章"}, {"读到", "讀到"},
                  {"都坏", "都壞"}, {"信息", "資訊"},     {"不足", "不足"}};
    for (const auto &place : places) {
        const int filePosition = text.indexOf(place.fileWord);
        const int shownPosition = shown.map.toShown(filePosition);
        QCOMPARE(shown.text.mid(shownPosition, place.shownWord.size()), place.shownWord);
        QCOMPARE(shown.map.toFile(shownPosition), filePosition);
    }
    // The start of every line, where reading positions mostly are.
    for (int f = 0; f < text.size(); f = text.indexOf('\n', f) + 1) {
        const int s = shown.map.toShown(f);
        QVERIFY(s == 0 || shown.text.at(s - 1) == QLatin1Char('\n'));
        QCOMPARE(shown.map.toFile(s), f);
    }
}

// A long stretch is converted in two halves at once: the same text and
// the same map as line by line.
void TestScriptConverter::longStretchInHalves()
{
    const QString text = QStringLiteral("第一行：内存不足，鼠标和软件都坏了。\n").repeated(6000);
    const ShownText whole = TextTransform::apply(text, inScript(Script::TraditionalTaiwanPhrases));
    PositionMap map;
    QCOMPARE(lineByLine(text, Script::TraditionalTaiwanPhrases, &map), whole.text);
    QCOMPARE(whole.map.changeCount(), 6000); // 内存 becomes 記憶體 on each line
    for (int f = 0; f < text.size(); f += 997)
        QCOMPARE(whole.map.toShown(f), map.toShown(f));
}

// A configuration that is not there says why, once asked, and the text
// stays as it is.
void TestScriptConverter::missingConfiguration()
{
    QString error;
    QVERIFY(!ScriptConverter::forConfiguration(QStringLiteral("no-such.json"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(ScriptChoice::configurationFor(Script::Unchanged, u"鼠标"), QString());
    QCOMPARE(ScriptChoice::fromKey(ScriptChoice::keyOf(Script::TraditionalHongKong)),
             Script::TraditionalHongKong);
    QCOMPARE(ScriptChoice::fromKey(QStringLiteral("nonsense")), Script::Unchanged);
}

QTEST_MAIN(TestScriptConverter)
#include "tst_scriptconverter.moc"
