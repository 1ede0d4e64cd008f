#include "BuiltInRules.h"
#include "TextTransform.h"
#include "TextTransformer.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

CleaningRule plain(const QString &pattern, const QString &replacement = QString())
{
    return {QStringLiteral("plain"), pattern, replacement, false, true};
}

CleaningRule regex(const QString &pattern, const QString &replacement = QString())
{
    return {QStringLiteral("regex"), pattern, replacement, true, true};
}

// Lines of a book broken at 18 characters by its site, a paragraph ending
// on each third line.
QString wrapped(const QStringList &paragraphs)
{
    QString text;
    for (const QString &paragraph : paragraphs) {
        for (int i = 0; i < paragraph.size(); i += 18)
            text += paragraph.mid(i, 18) + QLatin1Char('\n');
    }
    return text;
}

// The text in stretches as the loader hands them over: each ending at a
// line break, of sizes a random generator with a fixed seed picks.
QString inStretches(const QString &text, const TransformOptions &options, PositionMap *map)
{
    TextTransformer transformer(options);
    QRandomGenerator random(7);
    QString shown;
    for (int from = 0; from < text.size();) {
        int end = text.indexOf(QLatin1Char('\n'), from + random.bounded(1, 200));
        end = end < 0 ? text.size() : end + 1;
        const TextTransformer::Output output =
            transformer.transform(text.mid(from, end - from), end == text.size());
        shown += output.text;
        map->append(output.map, 0, 0);
        from = end;
    }
    return shown;
}

const QString Novel =
    QStringLiteral("　　他抬头望去，只见远处的山峰隐在云雾之中，若隐若现，仿佛一幅水墨画。"
                   "山下的小镇炊烟袅袅，渐渐散入暮色里。");
const QString Dialogue = QStringLiteral("“你来了？”她轻声问，声音里带着几分笑意，又有几分埋怨。");

} // namespace

Q_DECLARE_METATYPE(TransformOptions)

class TestTextTransform : public QObject
{
    Q_OBJECT

private slots:
    void transform_data();
    void transform();
    void hostileRuleIsLeftOut();
    void wrappedBookJudged_data();
    void wrappedBookJudged();
};

// What each kind of rule and paragraph tidying makes of a short text. Each
// row also goes through in stretches, which must give the same, and every
// character kept must map back to where it stood.
void TestTextTransform::transform_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TransformOptions>("options");
    QTest::addColumn<QString>("shown");

    TransformOptions builtIn;
    builtIn.builtInRules = true;
    const auto rules = [](QVector<CleaningRule> list) {
        TransformOptions options;
        options.rules = list;
        return options;
    };
    TransformOptions tidy;
    tidy.tidyParagraphs = true;

    QTest::newRow("nothing to do keeps CR LF") << "甲\r\n乙" << TransformOptions() << "甲\r\n乙";
    QTest::newRow("plain text removed") << "天下大势xiabook分久必合\r\n"
                                        << rules({plain("xiabook")}) << "天下大势分久必合\n";
    QTest::newRow("plain text replaced")
        << "他说：‘好’" << rules({plain("‘", "“")}) << "他说：“好’";
    QTest::newRow("a line found whole goes with its break") << "甲\n广告\n乙\n"
                                                            << rules({plain("广告")}) << "甲\n乙\n";
    QTest::newRow("groups in a replacement")
        << "第12回 宴\n"
        << rules({regex("第(\\d+)回", "第$1章")}) << "第12章 宴\n";
    QTest::newRow("a match over a line break is passed over")
        << "甲\n乙\n"
        << rules({regex("甲\\s乙")}) << "甲\n乙\n";
    QTest::newRow("rules apply in order") << "ab\n"
                                          << rules({plain("a", "b"), plain("bb", "c")}) << "c\n";
    // The later words are nowhere in the file: only the earlier rules make
    // them, at either side of what they change.
    QTest::newRow("a word made by an earlier rule is found")
        << "天下大X势，分久必合\n"
        << rules({plain("X"), plain("大势", "大事"), plain("，分", "：分"), plain("必合", "")})
        << "天下大事：分久\n";
    QTest::newRow("site addresses alone on a line")
        << "甲\nwwＷ．xiabook.com\n www/xiabook/com \n（www.txt2017.com）\n乙\n"
        << builtIn << "甲\n乙\n";
    QTest::newRow("an address inside a sentence stays")
        << "请访问 www.xiabook.com 看更多\n"
        << builtIn << "请访问 www.xiabook.com 看更多\n";
    QTest::newRow("HTML tags and entities")
        << "<p>他说&lt;是&gt;&nbsp;好</em><br>\n&#12288;&#12288;乙&amp;丙\n"
        << builtIn << "他说<是> 好\n　　乙&丙\n";
    QTest::newRow("blank lines go, paragraphs indented")
        << "第一章 开端\n\n  甲。\n\n\n\t乙。\n"
        << tidy << "第一章 开端\n　　甲。\n　　乙。\n";
    TransformOptions keepOne = tidy;
    keepOne.keepOneBlankLine = true;
    QTest::newRow("one blank line kept between paragraphs") << "甲。\n\n\n乙。\n"
                                                            << keepOne << "　　甲。\n\n　　乙。\n";
    QTest::newRow("CR LF and tidied lines") << "甲。\r\n\r\n乙。\r\n"
                                            << tidy << "　　甲。\n　　乙。\n";
}

void TestTextTransform::transform()
{
    QFETCH(QString, text);
    QFETCH(TransformOptions, options);
    QFETCH(QString, shown);
    const ShownText whole = TextTransform::apply(text, options);
    QCOMPARE(whole.text, shown);
    PositionMap map;
    QCOMPARE(inStretches(text, options, &map), shown);
    QCOMPARE(map.changes().size(), whole.map.changes().size());
    if (options.isIdentity()) {
        QVERIFY(whole.map.isIdentity());
        return;
    }
    // Each shown character that stands for itself maps back to the file
    // character it came from, and there again.
    QString fileText = text;
    fileText.replace("\r\n", "\n");
    for (int s = 0; s < whole.text.size(); ++s) {
        const int f = whole.map.toFile(s);
        QVERIFY(f >= 0 && f <= fileText.size());
        if (f < fileText.size() && fileText.at(f) == whole.text.at(s) && whole.map.toShown(f) == s)
            continue;
        // otherwise a character a rule or the tidying put there, which
        // maps to a file character near it
        QVERIFY2(qAbs(f - s) <= text.size(), qPrintable(QString::number(s)));
    }
}

// A rule whose expression needs more work than a match may take is left
// out, says why, and the other rules still apply.
void TestTextTransform::hostileRuleIsLeftOut()
{
    TransformOptions options;
    options.rules = {regex("(a+)+$"), plain("甲", "乙")};
    options.rules[0].name = QStringLiteral("hostile");
    TextTransformer transformer(options);
    const QString line = QString(40, QLatin1Char('a')) + QStringLiteral("b甲\n");
    QCOMPARE(transformer.transform(line, false).text, line.left(41) + QStringLiteral("乙\n"));
    const QVector<RuleCleaner::Failure> failures = transformer.takeFailures();
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().rule, QStringLiteral("hostile"));
    QVERIFY(!failures.first().reason.isEmpty());
    QCOMPARE(transformer.transform(QStringLiteral("aaa甲"), true).text, QStringLiteral("aaa乙"));
    QVERIFY(transformer.takeFailures().isEmpty());
}

void TestTextTransform::wrappedBookJudged_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QStringList paragraphs;
    for (int i = 0; i < 12; ++i)
        paragraphs << Novel << Dialogue;
    const QString book = QStringLiteral("第一章 山雨欲来\n") + wrapped(paragraphs);
    QString joined = QStringLiteral("第一章 山雨欲来\n");
    for (const QString &paragraph : paragraphs)
        joined += (paragraph.startsWith("　　") ? paragraph : "　　" + paragraph) + "\n";
    QTest::newRow("broken at 18: joined, dialogue and sentences kept apart") << book << joined;

    // A book of whole paragraphs, one a line: nothing is joined.
    QString whole;
    for (int i = 0; i < 30; ++i)
        whole += QStringLiteral("　　") + Novel.mid(2, 10 + i * 3) + QStringLiteral("\n");
    QTest::newRow("whole paragraphs") << whole << whole;

    // Broken lines that end a sentence or an ellipsis, or lead to one of
    // dialogue, a heading or an indented line, stay as they are.
    const QString edges = QString("　　一二三四五六七八九十一二三四五六七八……\n"
                                  "一二三四五六七八九十一二三四五六七八九十\n"
                                  "“一二三四五六七八九十一二三四五六七八。”\n"
                                  "第二章 归来\n"
                                  "一二三四五六七八九十一二三四五六七八九十\n"
                                  "　　一二三四五六七八九十一二三四五六七八。\n");
    QString lines;
    for (int i = 0; i < 8; ++i)
        lines += wrapped({Novel});
    QTest::newRow("edges") << lines + edges << QString();
}

// Whether a book was broken at a page's width is judged from its lines.
void TestTextTransform::wrappedBookJudged()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TransformOptions tidy;
    tidy.tidyParagraphs = true;
    const ShownText result = TextTransform::apply(text, tidy);
    PositionMap map;
    QCOMPARE(inStretches(text, tidy, &map), result.text);
    if (!shown.isNull()) {
        QCOMPARE(result.text, shown);
        return;
    }
    const QStringList lines = result.text.split('\n');
    QVERIFY2(lines.contains(QStringLiteral("　　一二三四五六七八九十一二三四五六七八……")),
             qPrintable(result.text));
    QVERIFY(lines.contains(QStringLiteral("第二章 归来")));
    QVERIFY(lines.contains(QStringLiteral("　　“一二三四五六七八九十一二三四五六七八。”")));
    QVERIFY(lines.contains(QStringLiteral("　　一二三四五六七八九十一二三四五六七八九十")));
}

QTEST_GUILESS_MAIN(TestTextTransform)
#include "tst_texttransform.moc"
