#include "ChapterIndex.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace
{

// "level:title" of each heading, after checking that its position is where
// the document puts the line with that title.
QStringList headingsOf(const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    QStringList found;
    for (const Chapter &chapter : ChapterIndex::scan(text)) {
        const QTextBlock block = document.findBlock(chapter.position);
        if (block.position() != chapter.position || block.text().trimmed() != chapter.title)
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
        {"1:番外 第一章 少年游", "1:正文 第一章 开始", "1:正文第二章"});
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

QTEST_MAIN(TestChapterIndex)
#include "tst_chapterindex.moc"
