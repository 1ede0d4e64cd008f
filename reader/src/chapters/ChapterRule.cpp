#include "ChapterRule.h"

#include "BoundedRegex.h"
#include "ChapterFit.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace
{

// A heading's line is short; the match looks at no more of a line.
const int MaxSubject = 300;
// A pattern slow on every line, though each match stays within its bound,
// stops after this long rather than keep a worker thread for minutes.
const int MaxCustomScanMs = 5000;

const char *const ChoiceNames[] = {"", "ordinals", "marked", "numbered", "bookname", "sections"};
const QString RegexPrefix = QStringLiteral("regex:");

bool isBreak(ushort c)
{
    return c == '\n' || c == '\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

QStringView trimmed(QStringView line)
{
    int start = 0, end = line.size();
    while (start < end && (line[start].isSpace() || line[start].unicode() == 0xFEFF))
        ++start;
    while (end > start && line[end - 1].isSpace())
        --end;
    return line.mid(start, end - start);
}

ChapterScan scanCustom(const QString &text, const QString &pattern, const std::atomic<bool> *cancel)
{
    ChapterScan scan;
    scan.textSize = text.size();
    const BoundedRegex regex(pattern);
    if (!regex.isValid()) {
        scan.error = ChapterRules::patternError(pattern);
        return scan;
    }
    const QChar *const data = text.constData();
    const int size = text.size();
    int lineStart = 0, pairsBefore = 0, lines = 0;
    BoundedRegex::Match match;
    QElapsedTimer clock;
    clock.start();
    while (lineStart <= size) {
        int lineEnd = lineStart;
        while (lineEnd < size && !isBreak(data[lineEnd].unicode()))
            ++lineEnd;
        const QStringView line = trimmed(QStringView(data + lineStart, lineEnd - lineStart));
        ++lines;
        // Each line: a match may take milliseconds.
        if (cancel != nullptr && cancel->load()) {
            scan.cancelled = true;
            return scan;
        }
        if ((lines & 0xFF) == 0 && clock.elapsed() > MaxCustomScanMs) {
            scan.error =
                QCoreApplication::translate("QObject", "表达式太慢，在第 %1 行停止").arg(lines);
            return scan;
        }
        if (!line.isEmpty()) {
            const BoundedRegex::Outcome outcome = regex.match(line.left(MaxSubject), 0, &match);
            if (outcome == BoundedRegex::Outcome::Matched) {
                scan.chapters.append({ChapterIndex::titleOf(line), lineStart - pairsBefore, 1});
            } else if (outcome != BoundedRegex::Outcome::NoMatch) {
                scan.error =
                    outcome == BoundedRegex::Outcome::LimitHit
                        ? QCoreApplication::translate(
                              "QObject", "表达式在第 %1 行超出了匹配的限度（回溯过多），已停止")
                              .arg(lines)
                        : QCoreApplication::translate("QObject", "表达式在第 %1 行无法匹配")
                              .arg(lines);
                return scan;
            }
        }
        if (lineEnd + 1 < size && data[lineEnd] == u'\r' && data[lineEnd + 1] == u'\n') {
            ++lineEnd;
            ++pairsBefore;
        }
        lineStart = lineEnd + 1;
    }
    scan.textSize = size - pairsBefore;
    return scan;
}

} // namespace

const QString ChapterRule::ChoiceKey = QStringLiteral("目录规则");

QString ChapterRule::toChoice() const
{
    if (kind == Custom)
        return RegexPrefix + pattern;
    return QString::fromLatin1(ChoiceNames[kind < Custom ? kind : Automatic]);
}

ChapterRule ChapterRule::fromChoice(const QString &choice)
{
    ChapterRule rule;
    if (choice.startsWith(RegexPrefix) && choice.size() > RegexPrefix.size()) {
        rule.kind = Custom;
        rule.pattern = choice.mid(RegexPrefix.size());
        return rule;
    }
    for (int kind = Ordinals; kind < Custom; ++kind) {
        if (choice == QLatin1String(ChoiceNames[kind]))
            rule.kind = Kind(kind);
    }
    return rule;
}

QString ChapterRule::nameOf(Kind kind)
{
    switch (kind) {
    case Automatic:
        return QCoreApplication::translate("QObject", "自动（最合适的一种）");
    case Ordinals:
        return QCoreApplication::translate("QObject", "第…章、回、卷");
    case Marked:
        return QCoreApplication::translate("QObject", "正文 标题");
    case Numbered:
        return QCoreApplication::translate("QObject", "编号的行（1. 标题）");
    case BookName:
        return QCoreApplication::translate("QObject", "书名加编号（书名1、书名(2)）");
    case Sections:
        return QCoreApplication::translate("QObject", "一、二、三 小节");
    default:
        return QCoreApplication::translate("QObject", "自定义正则表达式");
    }
}

int ChapterScan::longest(int *row) const
{
    int most = 0, at = -1;
    for (int i = 0; i < chapters.size(); ++i) {
        const int end = i + 1 < chapters.size() ? chapters[i + 1].position : textSize;
        if (end - chapters[i].position > most) {
            most = end - chapters[i].position;
            at = i;
        }
    }
    if (row != nullptr)
        *row = at;
    return most;
}

ChapterScan ChapterRules::fromReadings(const ChapterIndex::Readings &readings,
                                       ChapterRule::Kind kind)
{
    ChapterScan scan;
    scan.textSize = readings.textSize;
    scan.cancelled = readings.cancelled;
    if (kind == ChapterRule::Automatic)
        scan.chapters = ChapterFit::choose(readings);
    else if (kind < ChapterRule::Custom)
        scan.chapters = readings.of[kind - ChapterRule::Ordinals];
    return scan;
}

ChapterScan ChapterRules::scan(const QString &text, const ChapterRule &rule,
                               const std::atomic<bool> *cancel)
{
    if (rule.kind == ChapterRule::Custom)
        return scanCustom(text, rule.pattern, cancel);
    return fromReadings(ChapterIndex::readings(text, cancel), rule.kind);
}

QString ChapterRules::patternError(const QString &pattern)
{
    if (pattern.isEmpty())
        return QCoreApplication::translate("QObject", "表达式是空的");
    const BoundedRegex regex(pattern);
    if (regex.isValid())
        return QString();
    return QCoreApplication::translate("QObject", "表达式无效：%1（第 %2 个字符）")
        .arg(regex.errorString())
        .arg(regex.errorOffset() + 1);
}
