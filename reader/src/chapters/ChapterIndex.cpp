#include "ChapterIndex.h"

#include <QStringList>
#include <QStringView>

// A heading is a head, then what the author wrote after it:
//
//   heading  := [正文] ordinal rest | word [篇] [numeral] rest
//             | english rest | number separator title
//   ordinal  := 第 numeral unit | 卷 numeral
//   numeral  := Arabic digits (ASCII or full-width) | Chinese numerals
//   unit     := 章 回 节 话 幕 折 (a chapter) | 卷 部 集 篇 册 季 (a volume)
//   word     := 序章 楔子 引子 前言 尾声 后记 番外 外传 … (the parts around
//               the story), Prologue, Epilogue
//   english  := Chapter | Volume | Vol | Book | Part, then a number
//
// Everything after 第 that is not a numeral followed by a unit is prose:
// 第二天, 第一次, 第三个人, 第一封信 use measure words, not units. A head
// runs into its title either through a separator (a space, a colon, a dash,
// a bracket) or joined (第一章风起); a joined title is read more strictly,
// since that is how prose starting with 第一节课 or 第二回合 looks. Lines
// numbered without a head ("1.标题") count only as a run of consecutive
// numbers, each on a line of its own between other lines.

namespace
{

// A longer line is prose whatever it starts with.
const int MaxLineLength = 80;
// The title after the head; classical two-part titles of 回 take about 20.
const int MaxTitleLength = 40;
// Consecutively numbered lines that make a list of chapters.
const int MinNumberedRun = 3;

const QString ChineseNumerals = QStringLiteral("零〇○一二两三四五六七八九十百千万亿"
                                               "壹贰叁肆伍陆柒捌玖拾佰仟萬億兩貳參陸廿卅卌");
const QString ChapterUnits = QStringLiteral("章回节節话話幕折");
const QString VolumeUnits = QStringLiteral("卷部集篇册冊季");
// Longer words first, so that 序章 is not read as 序 followed by 章.
const QStringList SpecialWords = {
    QStringLiteral("序章"),    QStringLiteral("序言"), QStringLiteral("序幕"),
    QStringLiteral("序"),      QStringLiteral("楔子"), QStringLiteral("引子"),
    QStringLiteral("引言"),    QStringLiteral("前言"), QStringLiteral("终章"),
    QStringLiteral("終章"),    QStringLiteral("尾声"), QStringLiteral("尾聲"),
    QStringLiteral("后记"),    QStringLiteral("後記"), QStringLiteral("番外"),
    QStringLiteral("外传"),    QStringLiteral("外傳"), QStringLiteral("prologue"),
    QStringLiteral("epilogue")};
// First characters of every head above.
const QString StartCharacters = QStringLiteral("第卷正序楔引前终終尾后後番外");
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

// What starts a paragraph of the document; CR LF is one break.
bool isBreak(ushort c)
{
    return c == '\n' || c == '\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

bool isBlank(QChar c)
{
    return c.isSpace() || c.unicode() == 0xFEFF;
}

int digitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 0xFF10 && u <= 0xFF19)
        return u - 0xFF10;
    return -1;
}

bool isRomanNumeral(QChar c)
{
    return QStringView(u"IVXLCDM").contains(c);
}

bool isSeparator(QChar c)
{
    return isBlank(c) || Separators.contains(c) || Openings.contains(c);
}

int skipBlanks(QStringView line, int at, int most = MaxLineLength)
{
    for (int skipped = 0; at < line.size() && skipped < most && isBlank(line[at]); ++skipped)
        ++at;
    return at;
}

// Length of the numeral at `at`: Arabic digits or Chinese numerals, never
// mixed. The value of Arabic digits goes to *value, -1 for Chinese ones.
int numeralLength(QStringView line, int at, qint64 *value = nullptr)
{
    int end = at;
    qint64 number = 0;
    while (end < line.size() && end - at < 9 && digitValue(line[end]) >= 0)
        number = number * 10 + digitValue(line[end++]);
    if (end == at) {
        while (end < line.size() && end - at < 12 && ChineseNumerals.contains(line[end]))
            ++end;
        number = -1;
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
int englishEnd(QStringView line, int *level)
{
    for (const EnglishWord &english : EnglishWords) {
        if (!line.startsWith(english.word, Qt::CaseInsensitive))
            continue;
        int at = english.word.size();
        while (at < line.size() && at - english.word.size() < 3 &&
               (isBlank(line[at]) || QStringView(u".:_-").contains(line[at])))
            ++at;
        int end = at + digitsLength(line, at);
        if (end == at) {
            while (end < line.size() && isRomanNumeral(line[end]))
                ++end;
        }
        if (end == at || (end < line.size() && line[end].isLetterOrNumber()))
            return -1;
        *level = english.level;
        return end;
    }
    return -1;
}

// 楔子, 番外篇, 番外二, Prologue: returns where the word ends, or -1.
int specialEnd(QStringView line)
{
    for (const QString &word : SpecialWords) {
        if (!wordAt(line, 0, word))
            continue;
        int end = word.size();
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
    for (int at = end; level == 0 && at < line.size(); ++at) {
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

struct Head {
    int end = -1;        // where the head ends in the line, -1 for none
    int level = 1;       // of the heading
    bool joined = false; // the title follows without a separator
    qint64 number = -1;  // a numbered line's number, -1 for other heads
};

// 1.标题, ２、标题, 12 标题: a number, a separator, then a title that does
// not go on with digits (3.14 is no heading).
Head numberedHead(QStringView line)
{
    Head head;
    const int length = numeralLength(line, 0, &head.number);
    if (length == 0 || head.number < 0 || length >= line.size())
        return Head();
    if (!isBlank(line[length]) && !QStringView(u".．、").contains(line[length]))
        return Head();
    const int title = skipBlanks(line, length + 1);
    if (title >= line.size() || digitValue(line[title]) >= 0)
        return Head();
    head.end = length + 1;
    return head;
}

// 楔子, 番外 第一章: the word, and the ordinal after it if there is one.
Head specialHead(QStringView line)
{
    Head head;
    head.end = specialEnd(line);
    if (head.end < 0)
        return head;
    const int ordinal = skipBlanks(line, head.end);
    const int end = ordinalEnd(line, ordinal, &head.level);
    if (end > 0)
        head.end = end;
    head.level = end > 0 ? head.level : 1;
    return head;
}

Head headOf(QStringView line)
{
    Head head;
    if (line.startsWith(u"正文")) {
        head.end = ordinalEnd(line, skipBlanks(line, 2), &head.level);
    } else {
        head.end = ordinalEnd(line, 0, &head.level);
        if (head.end < 0)
            head.end = englishEnd(line, &head.level);
        if (head.end < 0)
            head = specialHead(line);
        if (head.end < 0)
            return numberedHead(line);
    }
    if (head.end < 0)
        return head;
    head.level = levelAfter(line, head.end, head.level);
    head.joined = head.end < line.size() && !isSeparator(line[head.end]);
    return head;
}

// Whether a line may start a heading at all; most lines of a novel stop here.
bool mayStartHeading(QChar c)
{
    return c.unicode() < 0x80 ? c.isLetterOrNumber()
                              : digitValue(c) >= 0 || StartCharacters.contains(c);
}

// The line's heading, if it is one; numbered lines are only candidates.
bool isHeading(QStringView line, Head *head)
{
    if (line.isEmpty() || line.size() > MaxLineLength || !mayStartHeading(line[0]))
        return false;
    *head = headOf(line);
    if (head->end < 0)
        return false;
    int title = head->end;
    while (title < line.size() && (isBlank(line[title]) || Separators.contains(line[title])))
        ++title;
    return !readsAsSentence(line.mid(title), head->joined);
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

struct Numbered {
    int chapter; // index in the list of headings
    qint64 number;
    int linesBefore; // lines with text above it
};

// Keeps a numbered line only in a run of consecutive numbers on lines that
// have other text between them: one numbered line in prose, or a list of
// points on adjacent lines, is no list of chapters.
void dropLoneNumbers(QVector<Chapter> &chapters, const QVector<Numbered> &numbered)
{
    QVector<bool> keep(chapters.size(), true);
    for (const Numbered &line : numbered)
        keep[line.chapter] = false;
    int runStart = 0;
    for (int i = 1; i <= numbered.size(); ++i) {
        const bool continues = i < numbered.size() &&
                               numbered[i].number == numbered[i - 1].number + 1 &&
                               numbered[i].linesBefore > numbered[i - 1].linesBefore + 1;
        if (continues)
            continue;
        if (i - runStart >= MinNumberedRun) {
            for (int j = runStart; j < i; ++j)
                keep[numbered[j].chapter] = true;
        }
        runStart = i;
    }
    int kept = 0;
    for (int i = 0; i < chapters.size(); ++i) {
        if (keep[i])
            chapters[kept++] = chapters[i];
    }
    chapters.resize(kept);
}

} // namespace

bool ChapterIndex::isHeadingLine(QStringView line)
{
    Head head;
    return isHeading(trimmed(line), &head) && head.number < 0;
}

QVector<Chapter> ChapterIndex::scan(const QString &text)
{
    QVector<Chapter> chapters;
    QVector<Numbered> numbered;
    const QChar *const data = text.constData();
    const int size = text.size();
    int lineStart = 0;
    int pairsBefore = 0; // CR LF pairs before lineStart, one position each
    int linesWithText = 0;
    while (lineStart <= size) {
        int lineEnd = lineStart;
        while (lineEnd < size && !isBreak(data[lineEnd].unicode()))
            ++lineEnd;
        const QStringView line = trimmed(QStringView(data + lineStart, lineEnd - lineStart));
        Head head;
        if (isHeading(line, &head)) {
            if (head.number >= 0)
                numbered.append({chapters.size(), head.number, linesWithText});
            chapters.append({line.toString(), lineStart - pairsBefore, head.level});
        }
        if (!line.isEmpty())
            ++linesWithText;
        if (lineEnd + 1 < size && data[lineEnd] == u'\r' && data[lineEnd + 1] == u'\n') {
            ++lineEnd;
            ++pairsBefore;
        }
        lineStart = lineEnd + 1;
    }
    if (!numbered.isEmpty())
        dropLoneNumbers(chapters, numbered);
    return chapters;
}
