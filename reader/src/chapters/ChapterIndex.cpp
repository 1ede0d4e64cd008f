#include "ChapterIndex.h"

#include "ChapterFit.h"
#include "Numeral.h"

#include <QStringList>
#include <QStringView>

// This file is over 400 lines: the five readings of a heading share one pass
// over the lines and the same helpers for numerals, markers and titles, and
// the grammar below is easier to check against the code in one place.

// A heading of the Ordinals reading is a head, then what the author wrote
// after it:
//
//   heading  := [marker] [lead-in] ordinal rest | [marker] word [篇] [numeral] rest
//             | [marker] english rest
//   marker   := 正文 | 《》目录 | 《》 | 目录 (a site's, before every heading)
//   lead-in  := a few words without a clause mark, then a space (始动！…… 第一章)
//   ordinal  := 第 numeral unit | 卷 numeral
//   numeral  := Arabic digits (ASCII or full-width) | Chinese numerals
//   unit     := 章 回 节 话 幕 折 (a chapter) | 卷 部 集 篇 册 季 (a volume)
//   word     := 序章 楔子 引子 前言 尾声 后记 番外 外传 … (the parts around
//               the story), Prologue, Epilogue
//   english  := Chapter | Volume | Vol | Book | Part, then a number
//
// Everything after 第 that is not a numeral followed by a unit is prose:
// 第二天, 第一次, 第三个人, 第一封信 use measure words, not units, and
// 第六回合, 第一节课 are words of their own. A head runs into its title
// either through a separator (a space, a colon, a dash, a bracket) or
// joined (第一章风起); a joined title is read more strictly, since that is
// how prose looks. The title ends before a poem that opens the chapter on
// the same line (诗曰, 词曰, …) and, on a line too long for a title, at its
// first clause or sentence mark. The other readings are lines numbered
// without a head ("1.标题", "一、标题"), lines of a book's name and a number
// (鼠疫12, 自传(3)) and "正文 <title>" lines; they count only as runs
// (ChapterFit).

namespace
{

// A longer line is prose whatever it starts with...
const int MaxLineLength = 80;
// ... but for the 回目 of a classic followed by the chapter's opening poem.
const int MaxCutLineLength = 1000;
// The title after the head; classical two-part titles of 回 take about 20.
const int MaxTitleLength = 40;
// A book's name and a number.
const int MaxNameLineLength = 40;
// Characters of a lead-in before the ordinal.
const int MaxLeadIn = 12;

const QString ChapterUnits = QStringLiteral("章回节節话話幕折");
const QString VolumeUnits = QStringLiteral("卷部集篇册冊季");
// Words that start with a unit and make 第 + numeral + unit prose.
const QStringList UnitWords = {
    QStringLiteral("回合"), QStringLiteral("节课"), QStringLiteral("節課"), QStringLiteral("季度"),
    QStringLiteral("部队"), QStringLiteral("部隊"), QStringLiteral("部门"), QStringLiteral("部門"),
    QStringLiteral("集团"), QStringLiteral("集團"), QStringLiteral("章程"), QStringLiteral("幕后"),
    QStringLiteral("折扣"), QStringLiteral("话题")};
// Longer words first, so that 序章 is not read as 序 followed by 章.
const QStringList SpecialWords = {
    QStringLiteral("序章"),    QStringLiteral("序言"), QStringLiteral("序幕"),
    QStringLiteral("序"),      QStringLiteral("楔子"), QStringLiteral("引子"),
    QStringLiteral("引言"),    QStringLiteral("前言"), QStringLiteral("终章"),
    QStringLiteral("終章"),    QStringLiteral("尾声"), QStringLiteral("尾聲"),
    QStringLiteral("后记"),    QStringLiteral("後記"), QStringLiteral("番外"),
    QStringLiteral("外传"),    QStringLiteral("外傳"), QStringLiteral("prologue"),
    QStringLiteral("epilogue")};
// What sites write before every heading they export; longer first.
const QStringList Markers = {QStringLiteral("《》目录"), QStringLiteral("《》目錄"),
                             QStringLiteral("《》"),     QStringLiteral("目录"),
                             QStringLiteral("目錄"),     QStringLiteral("正文")};
// What opens the poem at the start of a chapter of a classic.
const QStringList PoemMarks = {
    QStringLiteral("有诗为证"), QStringLiteral("有詩為證"), QStringLiteral("诗曰"),
    QStringLiteral("詩曰"),     QStringLiteral("词曰"),     QStringLiteral("詞曰"),
    QStringLiteral("诗云"),     QStringLiteral("詩云"),     QStringLiteral("词云"),
    QStringLiteral("詞云"),     QStringLiteral("赞曰"),     QStringLiteral("贊曰")};
// First characters of every head above.
const QString StartCharacters = QStringLiteral("第卷正序楔引前终終尾后後番外《目");
const QString Separators = QStringLiteral("：:.．、·・-－—_~～");
const QString Openings = QStringLiteral("（(【[《〈「『“‘");
const QString Closings = QStringLiteral("）)】]》〉」』”’");
const QString ClauseMarks = QStringLiteral("，、；：,;:");
const QString SentenceEnds = QStringLiteral("。！？!?…");

struct EnglishWord {
    QString word;
    int level;
};
const EnglishWord EnglishWords[] = {{QStringLiteral("chapter"), 1},
                                    {QStringLiteral("volume"), 0},
                                    {QStringLiteral("vol"), 0},
                                    {QStringLiteral("book"), 0},
                                    {QStringLiteral("part"), 0}};

using Numeral::digitValue;

// What each character may be to a heading, looked up once per character on
// the lines of a novel most of which are no heading.
enum CharacterKind : quint8 {
    StartKind = 1,    // may start a head (StartCharacters)
    ChineseKind = 2,  // a Chinese numeral
    ClosingKind = 4,  // closes a bracket or quote
    ClauseKind = 8,   // a clause mark
    SentenceKind = 16 // ends a sentence
};

quint8 kindOf(QChar c)
{
    static const QVector<quint8> kinds = [] {
        QVector<quint8> table(0x10000, 0);
        for (const QChar c : StartCharacters)
            table[c.unicode()] |= StartKind;
        for (int u = 0x3000; u < 0x10000; ++u) {
            if (Numeral::isChinese(QChar(u)))
                table[u] |= ChineseKind;
        }
        for (const QChar c : Closings)
            table[c.unicode()] |= ClosingKind;
        for (const QChar c : ClauseMarks)
            table[c.unicode()] |= ClauseKind;
        for (const QChar c : SentenceEnds)
            table[c.unicode()] |= SentenceKind;
        return table;
    }();
    return kinds.at(c.unicode());
}

bool isChineseNumeral(QChar c)
{
    return kindOf(c) & ChineseKind;
}

// What starts a paragraph of the document; CR LF is one break.
bool isBreak(ushort c)
{
    return c == '\n' || c == '\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

bool isBlank(QChar c)
{
    return c.isSpace() || c.unicode() == 0xFEFF;
}

bool isRomanNumeral(QChar c)
{
    return QStringView(u"IVXLCDM").contains(c);
}

bool isSeparator(QChar c)
{
    return isBlank(c) || Separators.contains(c) || Openings.contains(c);
}

int skipBlanks(QStringView line, int at, int most = MaxCutLineLength)
{
    for (int skipped = 0; at < line.size() && skipped < most && isBlank(line[at]); ++skipped)
        ++at;
    return at;
}

QStringView trimmed(QStringView line)
{
    int start = 0, end = line.size();
    while (start < end && isBlank(line[start]))
        ++start;
    while (end > start && isBlank(line[end - 1]))
        --end;
    return line.mid(start, end - start);
}

// Length of the numeral at `at`: Arabic digits or Chinese numerals, never
// mixed. Its value goes to *value, -1 where it makes none.
int numeralLength(QStringView line, int at, qint64 *value = nullptr)
{
    int end = at;
    qint64 number = 0;
    while (end < line.size() && end - at < 9 && digitValue(line[end]) >= 0)
        number = number * 10 + digitValue(line[end++]);
    if (end == at) {
        while (end < line.size() && end - at < 12 && isChineseNumeral(line[end]))
            ++end;
        number = Numeral::chineseValue(line.mid(at, end - at));
    }
    if (value != nullptr)
        *value = number;
    return end - at;
}

// 第 numeral unit, with a little room for spaces, or 卷 numeral. Returns
// where it ends, or -1.
int ordinalEnd(QStringView line, int at, int *level)
{
    if (at >= line.size())
        return -1;
    if (line[at] == u'卷') {
        const int start = skipBlanks(line, at + 1, 2);
        const int length = numeralLength(line, start);
        *level = 0;
        return length > 0 ? start + length : -1;
    }
    if (line[at] != u'第')
        return -1;
    const int start = skipBlanks(line, at + 1, 2);
    const int length = numeralLength(line, start);
    if (length == 0)
        return -1;
    const int unit = skipBlanks(line, start + length, 2);
    if (unit >= line.size())
        return -1;
    if (ChapterUnits.contains(line[unit]))
        *level = 1;
    else if (VolumeUnits.contains(line[unit]))
        *level = 0;
    else
        return -1;
    for (const QString &word : UnitWords) {
        if (line.mid(unit).startsWith(word))
            return -1;
    }
    return unit + 1;
}

// A word that must stand on its own: followed by the end of the line or
// by something that is not a letter or digit.
bool wordAt(QStringView line, int at, const QString &word)
{
    if (!line.mid(at).startsWith(word, Qt::CaseInsensitive))
        return false;
    const int end = at + word.size();
    return end >= line.size() || !line[end].isLetterOrNumber() || word.at(0).unicode() > 0x7F;
}

int digitsLength(QStringView line, int at)
{
    int end = at;
    while (end < line.size() && digitValue(line[end]) >= 0)
        ++end;
    return end - at;
}

// Chapter 12, chapter.844, Part IV: returns where the number ends, or -1.
int englishEnd(QStringView line, int from, int *level)
{
    const QStringView rest = line.mid(from);
    for (const EnglishWord &english : EnglishWords) {
        if (!rest.startsWith(english.word, Qt::CaseInsensitive))
            continue;
        int at = english.word.size();
        while (at < rest.size() && at - english.word.size() < 3 &&
               (isBlank(rest[at]) || QStringView(u".:_-").contains(rest[at])))
            ++at;
        int end = at + digitsLength(rest, at);
        if (end == at) {
            while (end < rest.size() && isRomanNumeral(rest[end]))
                ++end;
        }
        if (end == at || (end < rest.size() && rest[end].isLetterOrNumber()))
            return -1;
        *level = english.level;
        return from + end;
    }
    return -1;
}

// 楔子, 番外篇, 番外二, Prologue: returns where the word ends, or -1.
int specialEnd(QStringView line, int from)
{
    for (const QString &word : SpecialWords) {
        if (!wordAt(line, from, word))
            continue;
        int end = from + word.size();
        if (end < line.size() && line[end] == u'篇')
            ++end;
        end += numeralLength(line, end);
        // 前言不搭后语 is prose: the word has to end there.
        const bool ends = end >= line.size() || isSeparator(line[end]) || line[end] == u'第';
        return ends ? end : -1;
    }
    return -1;
}

// The heading's level once the head ends at `end`: a volume's line that
// goes on to a chapter (第一卷 风起 第三章 …) stands for the chapter.
int levelAfter(QStringView line, int end, int level)
{
    for (int at = end; level == 0 && at < line.size() && at < end + MaxLineLength; ++at) {
        int inner;
        if (line[at] == u'第' && (at == end || isSeparator(line[at - 1])) &&
            ordinalEnd(line, at, &inner) > 0 && inner == 1)
            level = 1;
    }
    return level;
}

// A title reads as a sentence when it is too long for a title, ends as a
// statement or a clause does (。 or ，), or, joined to its head without a
// separator, holds any clause or sentence mark at all (第三节课又是数学！).
// Asides in brackets and quotes, such as (求月票，求推荐！), are not looked at.
bool readsAsSentence(QStringView title, bool joined)
{
    if (title.size() > MaxTitleLength)
        return true;
    int depth = 0;
    QChar last, beforeLast;
    for (const QChar c : title) {
        if (Openings.contains(c)) {
            ++depth;
        } else if (Closings.contains(c)) {
            depth = qMax(0, depth - 1);
        } else if (depth == 0 && !isBlank(c)) {
            if (joined && (ClauseMarks.contains(c) || SentenceEnds.contains(c)))
                return true;
            beforeLast = last;
            last = c;
        }
    }
    // A single '.' ends an English sentence; "..." trails off like …
    const bool fullStop = last == u'。' || (last == u'.' && beforeLast != u'.');
    return fullStop || ClauseMarks.contains(last);
}

// Where the poem after a 回目 starts, or -1.
int poemStart(QStringView title)
{
    int first = -1;
    for (const QString &mark : PoemMarks) {
        const int at = int(title.indexOf(mark));
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    return first;
}

// The first clause or sentence mark outside brackets, or -1.
int firstMark(QStringView title)
{
    int depth = 0;
    for (int i = 0; i < title.size(); ++i) {
        const QChar c = title[i];
        if (Openings.contains(c))
            ++depth;
        else if (Closings.contains(c))
            depth = qMax(0, depth - 1);
        else if (depth == 0 && (ClauseMarks.contains(c) || SentenceEnds.contains(c)))
            return i;
    }
    return -1;
}

// Where the title that starts at `title` ends, the poem or prose after it
// cut off; -1 where it reads as a sentence. A title may be cut where the
// line is too long to be one, or before a poem; joined to its head only
// before a poem.
int titleEnd(QStringView line, int title, bool joined)
{
    QStringView rest = line.mid(title);
    bool cut = false;
    const int poem = poemStart(rest);
    if (poem >= 0) {
        rest = rest.left(poem);
        cut = true;
    } else if (line.size() > MaxLineLength || rest.size() > MaxTitleLength) {
        const int mark = firstMark(rest);
        if (joined || mark < 2)
            return -1;
        rest = rest.left(mark);
        cut = true;
    }
    if (cut) {
        while (!rest.isEmpty() && (isBlank(rest.back()) || ClauseMarks.contains(rest.back())))
            rest.chop(1);
    }
    if (readsAsSentence(rest, joined))
        return -1;
    return title + rest.size();
}

// A site's marker at the start of the line: where what follows it starts,
// 0 for none.
int markerEnd(QStringView line, bool *isZhengwen = nullptr)
{
    for (const QString &marker : Markers) {
        if (line.startsWith(marker)) {
            if (isZhengwen != nullptr)
                *isZhengwen = marker == QStringLiteral("正文");
            return skipBlanks(line, marker.size());
        }
    }
    return 0;
}

struct Head {
    int start = 0;       // where the heading starts, after a marker
    int end = -1;        // where the head ends in the line, -1 for none
    int level = 1;       // of the heading
    bool joined = false; // the title follows without a separator
};

// 楔子, 番外 第一章: the word, and the ordinal after it if there is one.
Head specialHead(QStringView line, int from)
{
    Head head;
    head.end = specialEnd(line, from);
    if (head.end < 0)
        return head;
    const int ordinal = skipBlanks(line, head.end);
    const int end = ordinalEnd(line, ordinal, &head.level);
    if (end > 0)
        head.end = end;
    head.level = end > 0 ? head.level : 1;
    return head;
}

Head headAt(QStringView line, int from)
{
    Head head;
    head.end = ordinalEnd(line, from, &head.level);
    if (head.end < 0)
        head.end = englishEnd(line, from, &head.level);
    if (head.end < 0)
        head = specialHead(line, from);
    return head;
}

// 始动！…… 第一章 洛杉矶1984: a few words, a space, then an ordinal that
// does not run into its title.
Head leadInHead(QStringView line, int from)
{
    for (int at = from + 1; at < line.size() && at <= from + MaxLeadIn; ++at) {
        const QChar c = line[at - 1];
        if ((kindOf(c) & ClauseKind) || c == u'。')
            break;
        if (line[at] != u'第' || !isBlank(c))
            continue;
        Head head;
        head.end = ordinalEnd(line, at, &head.level);
        if (head.end > 0 && (head.end == line.size() || isSeparator(line[head.end])))
            return head;
    }
    return Head();
}

// Whether a line may start a heading at all; most lines of a novel stop here.
bool mayStartHeading(QChar c)
{
    return c.unicode() < 0x80 ? c.isLetterOrNumber()
                              : digitValue(c) >= 0 || (kindOf(c) & StartKind);
}

// The line's heading in the Ordinals reading: the title's start and end.
bool ordinalHeading(QStringView line, int *start, int *end, int *level)
{
    if (line.size() > MaxCutLineLength)
        return false;
    const int from = mayStartHeading(line[0]) ? markerEnd(line) : 0;
    Head head;
    if (from < line.size() && mayStartHeading(line[from]))
        head = headAt(line, from);
    if (head.end < 0 && line.size() <= MaxLineLength)
        head = leadInHead(line, from);
    if (head.end < 0)
        return false;
    head.joined = head.end < line.size() && !isSeparator(line[head.end]);
    int title = head.end;
    while (title < line.size() && (isBlank(line[title]) || Separators.contains(line[title])))
        ++title;
    const int cut = titleEnd(line, title, head.joined);
    if (cut < 0)
        return false;
    *start = from;
    *end = cut;
    *level = levelAfter(line, head.end, head.level);
    return true;
}

// 正文 出版者言: the title after the marker, or -1.
int markedTitle(QStringView line, int *end)
{
    bool zhengwen = false;
    const int from = markerEnd(line, &zhengwen);
    if (!zhengwen || from >= line.size() || !isBlank(line[from - 1]) || line.size() > MaxLineLength)
        return -1;
    int start, level;
    if (ordinalHeading(line.mid(from), &start, end, &level)) {
        *end += from;
        return from;
    }
    *end = titleEnd(line, from, false);
    return *end > from ? from : -1;
}

// 1.标题, ２、标题, 12 标题: a number, a separator, then a title that does
// not go on with digits (3.14 is no heading). Its number, or -1.
qint64 numberedLine(QStringView line)
{
    qint64 number = -1;
    const int length = numeralLength(line, 0, &number);
    if (length == 0 || digitValue(line[0]) < 0 || length >= line.size() ||
        line.size() > MaxLineLength)
        return -1;
    if (!isBlank(line[length]) && !QStringView(u".．、").contains(line[length]))
        return -1;
    const int title = skipBlanks(line, length + 1);
    if (title >= line.size() || digitValue(line[title]) >= 0 ||
        readsAsSentence(line.mid(title), false))
        return -1;
    return number;
}

// 一、资产者和无产者: Chinese numerals, a separator, then a title. Its
// number, or -1.
qint64 sectionLine(QStringView line)
{
    qint64 number = -1;
    const int length = numeralLength(line, 0, &number);
    if (length == 0 || number <= 0 || digitValue(line[0]) >= 0 || length >= line.size() ||
        line.size() > MaxLineLength || !QStringView(u"、．.").contains(line[length]))
        return -1;
    const int title = skipBlanks(line, length + 1);
    if (title >= line.size() || readsAsSentence(line.mid(title), false))
        return -1;
    return number;
}

// 鼠疫12, 哈里·哈勒尔自传(3), 上篇（二）: a name, then a number, alone on a
// short line. The number, and the name in *name, or -1.
qint64 nameLine(QStringView line, QStringView *name)
{
    if (line.size() < 2 || line.size() > MaxNameLineLength)
        return -1;
    int end = line.size();
    const bool bracketed = Closings.contains(line.back());
    if (bracketed)
        --end;
    int start = end;
    while (start > 0 && end - start < 6 && digitValue(line[start - 1]) >= 0)
        --start;
    if (start == end && bracketed) {
        while (start > 0 && end - start < 6 && Numeral::isChinese(line[start - 1]))
            --start;
    }
    if (start == end || (bracketed && (start == 0 || !Openings.contains(line[start - 1]))))
        return -1;
    qint64 number = -1;
    numeralLength(line.mid(start, end - start), 0, &number);
    *name = trimmed(line.left(bracketed ? start - 1 : start));
    if (name->isEmpty() || number < 0 || digitValue(name->back()) >= 0)
        return -1;
    bool letters = false;
    for (const QChar c : *name) {
        if (ClauseMarks.contains(c) || SentenceEnds.contains(c))
            return -1;
        letters = letters || c.isLetter();
    }
    return letters ? number : -1;
}

// Whether the line may end in a book's name and number.
bool mayEndName(QChar c)
{
    return digitValue(c) >= 0 || (kindOf(c) & ClosingKind);
}

// The candidates of one pass over a text.
struct Pass {
    QVector<HeadingCandidate> of[ChapterIndex::ReadingCount];

    void add(ChapterIndex::Reading reading, QStringView line, int start, int end, int position,
             int level, int lineNumber, const QString &key = QString(), qint64 number = -1)
    {
        of[reading].append({{trimmed(line.mid(start, end - start)).toString(), position, level},
                            lineNumber,
                            key,
                            number});
    }

    void look(QStringView line, int position, int lineNumber)
    {
        const QChar first = line[0];
        if (mayStartHeading(first) || line.size() <= MaxLineLength) {
            int start, end, level;
            if (ordinalHeading(line, &start, &end, &level))
                add(ChapterIndex::Ordinals, line, start, end, position, level, lineNumber);
        }
        if (line.size() > MaxLineLength)
            return;
        if (first == u'正') {
            int end;
            const int start = markedTitle(line, &end);
            if (start > 0)
                add(ChapterIndex::Marked, line, start, end, position, 1, lineNumber);
        }
        if (digitValue(first) >= 0) {
            const qint64 number = numberedLine(line);
            if (number >= 0)
                add(ChapterIndex::Numbered, line, 0, line.size(), position, 1, lineNumber,
                    QString(), number);
        } else if (isChineseNumeral(first)) {
            const qint64 number = sectionLine(line);
            if (number >= 0)
                add(ChapterIndex::Sections, line, 0, line.size(), position, 1, lineNumber,
                    QString(), number);
        }
        if (mayEndName(line.back())) {
            QStringView name;
            const qint64 number = nameLine(line, &name);
            if (number >= 0)
                add(ChapterIndex::BookName, line, 0, line.size(), position, 1, lineNumber,
                    name.toString(), number);
        }
    }
};

} // namespace

bool ChapterIndex::isHeadingLine(QStringView line)
{
    line = trimmed(line);
    int start, end, level;
    return !line.isEmpty() && mayStartHeading(line[0]) && line.size() <= MaxLineLength &&
           ordinalHeading(line, &start, &end, &level);
}

QString ChapterIndex::titleOf(QStringView line)
{
    line = trimmed(line);
    if (line.isEmpty())
        return QString();
    int start, end, level;
    if (ordinalHeading(line, &start, &end, &level))
        return trimmed(line.mid(start, end - start)).toString();
    if (markedTitle(line, &end) > 0)
        return trimmed(line.mid(markerEnd(line), end - markerEnd(line))).toString();
    // Any other line: its start, up to a poem or its first sentence.
    const int poem = poemStart(line);
    QStringView title = poem > 0 ? line.left(poem) : line;
    if (title.size() > MaxTitleLength) {
        const int mark = firstMark(title);
        title = mark > 0 && mark <= MaxTitleLength ? title.left(mark) : title.left(MaxTitleLength);
    }
    return trimmed(title).toString();
}

ChapterIndex::Readings ChapterIndex::readings(const QString &text, const std::atomic<bool> *cancel)
{
    Pass pass;
    const QChar *const data = text.constData();
    const int size = text.size();
    int lineStart = 0;
    int pairsBefore = 0; // CR LF pairs before lineStart, one position each
    int linesWithText = 0;
    Readings readings;
    while (lineStart <= size) {
        int lineEnd = lineStart;
        while (lineEnd < size && !isBreak(data[lineEnd].unicode()))
            ++lineEnd;
        const QStringView line = trimmed(QStringView(data + lineStart, lineEnd - lineStart));
        if (!line.isEmpty()) {
            pass.look(line, lineStart - pairsBefore, linesWithText);
            ++linesWithText;
            if ((linesWithText & 0xFFF) == 0 && cancel != nullptr && cancel->load()) {
                readings.cancelled = true;
                return readings;
            }
        }
        if (lineEnd + 1 < size && data[lineEnd] == u'\r' && data[lineEnd + 1] == u'\n') {
            ++lineEnd;
            ++pairsBefore;
        }
        lineStart = lineEnd + 1;
    }
    readings.textSize = size - pairsBefore;
    for (const HeadingCandidate &candidate : ChapterFit::dropContents(pass.of[Ordinals]))
        readings.of[Ordinals].append(candidate.chapter);
    readings.of[Marked] = ChapterFit::keepAtLeastThree(ChapterFit::dropContents(pass.of[Marked]));
    readings.of[Numbered] = ChapterFit::keepRuns(pass.of[Numbered]);
    readings.of[BookName] = ChapterFit::keepRuns(pass.of[BookName]);
    readings.of[Sections] = ChapterFit::keepRuns(pass.of[Sections]);
    return readings;
}

QVector<Chapter> ChapterIndex::scan(const QString &text)
{
    return ChapterFit::choose(readings(text));
}
