#include "ChapterEdits.h"
#include "ChapterIndex.h"
#include "ChapterRule.h"
#include "Numeral.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace
{

// "level:title" of each heading, after checking that its position is where
// the document puts the start of the line with that title.
QStringList headingsOf(const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    QStringList found;
    for (const Chapter &chapter : ChapterIndex::scan(text)) {
        const QTextBlock block = document.findBlock(chapter.position);
        if (block.position() != chapter.position || !block.text().contains(chapter.title) ||
            chapter.title != chapter.title.trimmed() || chapter.title.isEmpty())
            return {QStringLiteral("%1 is not at %2").arg(chapter.title).arg(chapter.position)};
        found << QStringLiteral("%1:%2").arg(chapter.level).arg(chapter.title);
    }
    return found;
}

} // namespace

class TestChapterIndex : public QObject
{
    Q_OBJECT

private slots:
    void headingsAndProse_data();
    void headingsAndProse();
    void longNovel();
    void bestFittingReading();
    void chineseNumerals_data();
    void chineseNumerals();
    void rulesAndEditsAsChoices();
    void customRule();
};

// Each text stands between two lines of prose; "\n" is replaced by each kind
// of line end in turn.
void TestChapterIndex::headingsAndProse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("headings");

    const auto row = [](const char *name, const char *text, QStringList headings) {
        QTest::newRow(name) << QString::fromUtf8(text) << headings;
    };
    row("两", "第两百一十八章 归来", {"1:第两百一十八章 归来"});
    row("financial numerals", "第壹章 开端\n第贰卷 风云", {"1:第壹章 开端", "0:第贰卷 风云"});
    row("zeros", "第〇〇一章 起\n第022章 零", {"1:第〇〇一章 起", "1:第022章 零"});
    row("full-width digits", "第１２章 全角", {"1:第１２章 全角"});
    row("spaced numeral", "第 12 章", {"1:第 12 章"});
    row("volume units", "第一部 少年\n卷二 青年\n第三集",
        {"0:第一部 少年", "0:卷二 青年", "0:第三集"});
    row("volume with chapter", "第一卷 风起 第三章 少年", {"1:第一卷 风起 第三章 少年"});
    row("measure words", "第一封信…\n第四本书记载着…\n第二天…\n第一次…\n第三个人…", {});
    row("sentences", "第一节课上，老师来了\n第二回合开始了！\n第五章 他死了。\n第一章 说着，", {});
    row("long line",
        "第一章 "
        "这是一个长得不像任何标题的句子而且它一直说下去没有尽头直到超过了任何作者会写的标题长度",
        {});
    row("words alone", "楔子\n序章\n引子\n前言\n尾声\n后记\n番外",
        {"1:楔子", "1:序章", "1:引子", "1:前言", "1:尾声", "1:后记", "1:番外"});
    row("words with titles", "番外 少年游\n番外二：归途\n外传 剑心\n序 初见",
        {"1:番外 少年游", "1:番外二：归途", "1:外传 剑心", "1:序 初见"});
    row("word before ordinal", "番外 第一章 少年游\n正文 第一章 开始\n正文第二章",
        {"1:番外 第一章 少年游", "1:第一章 开始", "1:第二章"});
    row("words in prose", "前言不搭后语\n尾声渐近，人散了\n正文", {});
    row("English", "Chapter 12 The Storm\nchapter.844 Return\nPART IV\nPrologue",
        {"1:Chapter 12 The Storm", "1:chapter.844 Return", "0:PART IV", "1:Prologue"});
    row("English prose", "Chapters of a life\nPart is hard", {});
    row("separators", "　　第一章　风起　\n第二章：云涌\n第三章\n第四章(上)\n第五章风起",
        {"1:第一章　风起", "1:第二章：云涌", "1:第三章", "1:第四章(上)", "1:第五章风起"});
    row("asides", "第十章 突破！（求月票，求推荐！）\n第一章 重生，回到十八岁",
        {"1:第十章 突破！（求月票，求推荐！）", "1:第一章 重生，回到十八岁"});
    row("classical", "第一回　甄士隐梦幻识通灵　贾雨村风尘怀闺秀",
        {"1:第一回　甄士隐梦幻识通灵　贾雨村风尘怀闺秀"});
    row("numbered run", "1.风起\n正文\n2.云涌\n正文\n\n3.归来\n正文",
        {"1:1.风起", "1:2.云涌", "1:3.归来"});
    row("numbered, too short a run", "1.风起\n正文\n2.云涌", {});
    row("numbered list of points", "1、首先\n2、其次\n3、最后", {});
    row("number in prose", "3.14 是圆周率\n1998 年", {});

    // The forms of issue 26, each as sites hand them out.
    row("site marker 《》目录",
        "《》目录 第一回　灵根育孕源流出　心性修持大道生\n正文\n"
        "《》目录 第二回　悟彻菩提真妙理　断魔归本合元神",
        {"1:第一回　灵根育孕源流出　心性修持大道生", "1:第二回　悟彻菩提真妙理　断魔归本合元神"});
    row("正文 before every section",
        "正文 出版者言\n　　话。\n正文 郭序\n　　话。\n正文 1.1 『近代中国』始于何时？\n　　话。",
        {"1:出版者言", "1:郭序", "1:1.1 『近代中国』始于何时？"});
    row("正文 too few", "正文 出版者言\n　　话。\n正文 郭序", {});
    row("poem after the 回目",
        "第一回 西门庆热结十弟兄武二郎冷遇亲哥嫂诗曰：豪华去后行人绝，箫筝不响歌喉咽。"
        "雄剑无威光彩沉，宝琴零落金星灭。玉阶寂寞坠秋露，月照当时歌舞处。当时歌舞人不回，"
        "化为今日西陵灰。\n第二回 俏潘娘帘下勾情　老王婆茶坊说技词曰：芙蓉面，冰雪肌。",
        {"1:第一回 西门庆热结十弟兄武二郎冷遇亲哥嫂", "1:第二回 俏潘娘帘下勾情　老王婆茶坊说技"});
    row("prose after the 回目",
        "第三回 定计　话说当日众人吃了一回酒，各自散了，西门庆回到家中，心中只是放不下，"
        "又走到街上来，东张西望，不知如何是好，只见王婆在门前坐着。",
        {"1:第三回 定计　话说当日众人吃了一回酒"});
    row("book name and number", "鼠疫1\n本书由某某网整理\n鼠疫2\n本书由某某网整理\n鼠疫3",
        {"1:鼠疫1", "1:鼠疫2", "1:鼠疫3"});
    row("book name, bracketed",
        "哈里·哈勒尔自传(1)\n　　话。\n哈里·哈勒尔自传(2)\n　　话。\n哈里·哈勒尔自传(3)",
        {"1:哈里·哈勒尔自传(1)", "1:哈里·哈勒尔自传(2)", "1:哈里·哈勒尔自传(3)"});
    row("book name, not counting up", "鼠疫1\n　　话。\n鼠疫3\n　　话。\n鼠疫5", {});
    row("names in prose", "他说：1\n　　话。\n他说：2\n　　话。\n他说：3", {});
    row("Chinese-numeral sections",
        "一、资产者和无产者\n　　话。\n二、无产者和共产党人\n　　话。\n"
        "三、社会主义的和共产主义的文献\n1．反动的社会主义\n　　话。\n2．保守的社会主义\n　　话。\n"
        "3．批判的空想的社会主义\n　　话。\n四、共产党人对各种反对党派的态度",
        {"0:一、资产者和无产者", "0:二、无产者和共产党人", "0:三、社会主义的和共产主义的文献",
         "1:1．反动的社会主义", "1:2．保守的社会主义", "1:3．批判的空想的社会主义",
         "0:四、共产党人对各种反对党派的态度"});
    row("Chinese-numeral sections alone",
        "一、起\n　　话。\n二、承\n　　话。\n三、转\n　　话。\n十一、合",
        {"1:一、起", "1:二、承", "1:三、转"});
    row("Chinese-numeral points", "一、首先\n二、其次\n三、最后", {});
    row("volume and chapter on one line", "第九卷 第二章 标题", {"1:第九卷 第二章 标题"});
    row("lead-in", "始动！…… 第一章 洛杉矶1984", {"1:始动！…… 第一章 洛杉矶1984"});
    row("lead-in in prose", "他翻开书，第一章 写着\n他说 第一次见面", {});
    row("words that start with a unit", "第六回合\n第六回合开始\n第一节课\n第三季度报告", {});
    row("contents at the top",
        "目录\n第一章 风起\n第二章 云涌\n第三章 归来\n第一章 风起\n　　话。\n第二章 云涌\n"
        "　　话。\n第三章 归来",
        {"1:第一章 风起", "1:第二章 云涌", "1:第三章 归来"});
}

void TestChapterIndex::headingsAndProse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, headings);
    for (const QString &lineEnd : {"\n", "\r\n", "\r"}) {
        QString novel = QStringLiteral("　　他说。\n") + text + QStringLiteral("\n　　完。");
        novel.replace('\n', lineEnd);
        QCOMPARE(headingsOf(novel), headings);
    }
}

// Thousands of chapters in volumes, every kind of line end, blank lines
// and prose that starts like a heading: each heading found, none more.
void TestChapterIndex::longNovel()
{
    const QStringList lineEnds{"\n", "\r\n", "\r", "\r\n\r\n"};
    QString text = QStringLiteral("书名\r\n");
    QStringList expected;
    for (int i = 1; i <= 3000; ++i) {
        const QString &end = lineEnds.at(i % lineEnds.size());
        if (i % 500 == 1) {
            expected << QStringLiteral("0:第%1卷 卷名").arg(i / 500 + 1);
            text += expected.last().mid(2) + end;
        }
        expected << QStringLiteral("1:第%1章 标题%1").arg(i);
        text += QStringLiteral("　　") + expected.last().mid(2) + end;
        text += QStringLiteral("　　第二天，他们又说了第%1章的事。").arg(i) + end;
        text += QStringLiteral("　　天下大势，分久必合。").repeated(i % 7 + 1) + end;
    }
    QCOMPARE(headingsOf(text), expected);
}

// Where two readings find headings, the one that cuts the text more evenly
// and more completely wins; one very long chapter does not make it lose, and
// a list of contents does not count twice.
void TestChapterIndex::bestFittingReading()
{
    const QString prose = QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(20);
    QString novel = QStringLiteral("书名\n目录\n");
    for (int i = 1; i <= 30; ++i)
        novel += QStringLiteral("第%1章 标题\n").arg(i);
    for (int i = 1; i <= 30; ++i) {
        novel += QStringLiteral("第%1章 标题\n").arg(i) + prose;
        // Numbered points inside some chapters make runs of their own.
        if (i % 10 == 0)
            novel += QStringLiteral("1、一\n　　话。\n2、二\n　　话。\n3、三\n　　话。\n");
        if (i == 15) // more than 100 000 characters in one chapter
            novel += QStringLiteral("　　长。").repeated(40000) + QStringLiteral("\n");
    }
    QVector<Chapter> chapters = ChapterIndex::scan(novel);
    QCOMPARE(chapters.size(), 30);
    QCOMPARE(chapters.first().position, novel.indexOf(QStringLiteral("第1章 标题\n　")));
    const ChapterIndex::Readings readings = ChapterIndex::readings(novel);
    QCOMPARE(readings.of[ChapterIndex::Numbered].size(), 9);

    // A book cut into numbered parts that mentions a chapter once.
    QString parts = QStringLiteral("第一章 序\n");
    for (int i = 1; i <= 12; ++i)
        parts += QStringLiteral("鼠疫%1\n").arg(i) + prose;
    chapters = ChapterIndex::scan(parts);
    QCOMPARE(chapters.size(), 12);
    QCOMPARE(chapters.last().title, QStringLiteral("鼠疫12"));
}

void TestChapterIndex::chineseNumerals_data()
{
    QTest::addColumn<QString>("numerals");
    QTest::addColumn<qint64>("value");
    const auto row = [](const char *numerals, qint64 value) {
        QTest::newRow(numerals) << QString::fromUtf8(numerals) << value;
    };
    row("一", 1);
    row("十", 10);
    row("十一", 11);
    row("二十", 20);
    row("一百零五", 105);
    row("两百一十八", 218);
    row("壹佰贰拾叁", 123);
    row("廿三", 23);
    row("一万二千", 12000);
    row("〇〇一", 1);
    row("一九八四", 1984);
    row("章", -1);
}

void TestChapterIndex::chineseNumerals()
{
    QFETCH(QString, numerals);
    QFETCH(qint64, value);
    QCOMPARE(Numeral::chineseValue(numerals), value);
}

// What is kept among a book's choices reads back as it was; what cannot be
// read is the automatic rule, or no edit.
void TestChapterIndex::rulesAndEditsAsChoices()
{
    for (int kind = 0; kind < ChapterRule::KindCount; ++kind) {
        ChapterRule rule;
        rule.kind = ChapterRule::Kind(kind);
        rule.pattern = kind == ChapterRule::Custom ? QStringLiteral("^卷\\d+") : QString();
        QCOMPARE(ChapterRule::fromChoice(rule.toChoice()), rule);
    }
    QCOMPARE(ChapterRule().toChoice(), QString());
    QCOMPARE(ChapterRule::fromChoice(QStringLiteral("nonsense")).kind, ChapterRule::Automatic);

    ChapterEdits edits = ChapterEdits::fromChoice(QStringLiteral("+30,-10,x,+-4,+20"));
    QCOMPARE(edits.added, QVector<int>({20, 30}));
    QCOMPARE(edits.removed, QVector<int>({10}));
    edits.add(10);    // taken out, now back
    edits.remove(30); // made by hand, now forgotten
    QCOMPARE(ChapterEdits::fromChoice(edits.toChoice()).toChoice(), QStringLiteral("+20"));
    edits = ChapterEdits::fromChoice(QStringLiteral("+5,+99,-0"));
    const QVector<Chapter> applied = edits.applied(
        {{QStringLiteral("a"), 0, 1}, {QStringLiteral("b"), 10, 1}},
        [](int position) { return position == 5 ? QStringLiteral("five") : QString(); });
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied[0].title, QStringLiteral("five"));
    QCOMPARE(applied[1].title, QStringLiteral("b"));
}

// An expression of one's own, line by line; a hostile one stops at its line.
void TestChapterIndex::customRule()
{
    const QString text = QStringLiteral(
        "书名\r\n◆ 风起\r\n　　话。\r\n  ◆ 云涌  \r\naaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\r\n");
    ChapterRule rule;
    rule.kind = ChapterRule::Custom;
    rule.pattern = QStringLiteral("^◆");
    const ChapterScan scan = ChapterRules::scan(text, rule);
    QVERIFY(scan.error.isEmpty());
    QCOMPARE(scan.chapters.size(), 2);
    QCOMPARE(scan.chapters[1].title, QStringLiteral("◆ 云涌"));
    QCOMPARE(scan.chapters[1].position, 13); // CR LF counts one
    rule.pattern = QStringLiteral("^(a+)+$");
    QVERIFY(ChapterRules::scan(text, rule).error.contains(QStringLiteral("第 5 行")));
    rule.pattern = QStringLiteral("(");
    QVERIFY(ChapterRules::scan(text, rule).error.startsWith(QStringLiteral("表达式无效")));
}

QTEST_MAIN(TestChapterIndex)
#include "tst_chapterindex.moc"
