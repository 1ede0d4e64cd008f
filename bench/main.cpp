// QuirelleBench: how the reading view copes with novels of 1, 10 and 40 MB.
//
// Without --child it generates the novels, runs every case in a fresh copy
// of itself (so each has its own peak memory and a hang costs one case) and
// prints one Markdown table. Examples:
//   QuirelleBench                                   everything
//   QuirelleBench --sizes 40 --cases font --positions mid --font-size 36
//   QuirelleBench --sizes 10 --encodings utf8 --cases floor,open

#include "BenchCase.h"
#include "NovelGenerator.h"
#include "TextLoader.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace
{

using Values = QMap<QString, QString>;

struct Novel {
    int megabytes;
    QString encoding;
    QString path;
    QString name() const
    {
        static const QMap<QString, QString> names{
            {QStringLiteral("gbk"), QStringLiteral("GBK")},
            {QStringLiteral("utf8"), QStringLiteral("UTF-8")},
            {QStringLiteral("big5"), QStringLiteral("Big5")},
            {QStringLiteral("utf16le"), QStringLiteral("UTF-16 LE")},
            {QStringLiteral("utf16be"), QStringLiteral("UTF-16 BE")}};
        return QStringLiteral("%1 MB %2").arg(megabytes).arg(names.value(encoding, encoding));
    }
};

struct Outcome {
    QString status; // ok, hang, failed
    Values values;
};

struct Options {
    QList<int> sizes;
    QStringList encodings;
    QStringList cases;
    QStringList positions;
    QStringList jumps;
    int fontSize = 14;
    int timeoutSeconds = 300;
    QString dir;
};

QStringList splitList(const QString &value)
{
    return value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString writeNovel(const QString &dir, int megabytes, const QString &encoding)
{
    const QString path =
        QStringLiteral("%1/novel-%2mb-%3.txt").arg(dir).arg(megabytes).arg(encoding);
    if (QFile::exists(path))
        return path;
    const QString text = generateNovel(qint64(megabytes) * 1024 * 1024, encoding);
    const QByteArray bytes = encodeNovel(text, encoding);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

Outcome runChild(const Novel &novel, const QString &kind, const QString &position,
                 const Options &options)
{
    QStringList arguments{QStringLiteral("--child"),     kind,
                          QStringLiteral("--file"),      novel.path,
                          QStringLiteral("--encoding"),  novel.encoding,
                          QStringLiteral("--position"),  position,
                          QStringLiteral("--font-size"), QString::number(options.fontSize)};
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QCoreApplication::applicationFilePath(), arguments);
    Outcome outcome;
    if (!process.waitForFinished(options.timeoutSeconds * 1000)) {
        process.kill();
        process.waitForFinished();
        outcome.status = QStringLiteral("hang");
    } else {
        outcome.status = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
                             ? QStringLiteral("ok")
                             : QStringLiteral("failed");
    }
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            outcome.values.insert(QString::fromUtf8(line.left(equals)),
                                  QString::fromUtf8(line.mid(equals + 1)));
    }
    return outcome;
}

class Table
{
public:
    Table(const QList<Novel> &novels, const QMap<QString, QMap<QString, Outcome>> &outcomes,
          int timeoutSeconds)
        : m_novels(novels), m_outcomes(outcomes), m_timeout(timeoutSeconds)
    {
    }

    void row(const QString &label, const QString &caseId, const QString &key,
             const QString &floorKey = QString())
    {
        QStringList cells;
        bool any = false;
        for (const Novel &novel : m_novels) {
            cells << cell(novel, caseId, key, floorKey);
            any = any || cells.last() != QStringLiteral("–");
        }
        if (any)
            m_lines << QStringLiteral("| %1 | %2 |").arg(label, cells.join(QStringLiteral(" | ")));
    }

    void sameProcessRatioRow(const QString &label, const QString &caseId, const QString &key,
                             const QString &floorKey)
    {
        QStringList cells;
        bool any = false;
        for (const Novel &novel : m_novels) {
            const double value = number(novel, caseId, key);
            const double floor = number(novel, caseId, floorKey);
            if (value > 0 && floor > 0) {
                cells << QStringLiteral("%1×").arg(value / floor, 0, 'f', 2);
                any = true;
            } else {
                cells << status(novel, caseId);
            }
        }
        if (any)
            m_lines << QStringLiteral("| %1 | %2 |").arg(label, cells.join(QStringLiteral(" | ")));
    }

    void memoryRow(const QString &label, const QString &caseId, const QString &key)
    {
        QStringList cells;
        bool any = false;
        for (const Novel &novel : m_novels) {
            const double bytes = number(novel, caseId, key);
            const double chars = number(novel, QStringLiteral("floor"), QStringLiteral("chars"));
            if (bytes > 0 && chars > 0) {
                cells << QStringLiteral("%1 MB, %2 B/char")
                             .arg(bytes / 1048576.0, 0, 'f', 0)
                             .arg(bytes / chars, 0, 'f', 1);
                any = true;
            } else {
                cells << status(novel, caseId);
            }
        }
        if (any)
            m_lines << QStringLiteral("| %1 | %2 |").arg(label, cells.join(QStringLiteral(" | ")));
    }

    QString text() const
    {
        QStringList header{QStringLiteral("| figure |")}, rule{QStringLiteral("|---|")};
        for (const Novel &novel : m_novels) {
            header << QStringLiteral(" %1 |").arg(novel.name());
            rule << QStringLiteral("---|");
        }
        return header.join(QString()) + QLatin1Char('\n') + rule.join(QString()) +
               QLatin1Char('\n') + m_lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }

private:
    double number(const Novel &novel, const QString &caseId, const QString &key) const
    {
        bool ok = false;
        const double value =
            m_outcomes.value(novel.name()).value(caseId).values.value(key).toDouble(&ok);
        return ok ? value : -1;
    }

    QString status(const Novel &novel, const QString &caseId) const
    {
        const QString status = m_outcomes.value(novel.name()).value(caseId).status;
        if (status == QLatin1String("hang"))
            return QStringLiteral("**hang** (killed after %1 s)").arg(m_timeout);
        if (status == QLatin1String("failed"))
            return QStringLiteral("failed");
        return QStringLiteral("–");
    }

    QString cell(const Novel &novel, const QString &caseId, const QString &key,
                 const QString &floorKey) const
    {
        const Values values = m_outcomes.value(novel.name()).value(caseId).values;
        if (!values.contains(key))
            return status(novel, caseId);
        bool ok = false;
        const double value = values.value(key).toDouble(&ok);
        if (!ok)
            return values.value(key);
        if (key.endsWith(QLatin1String("_kept")))
            return value != 0 ? QStringLiteral("yes") : QStringLiteral("**no**");
        QString text = QString::number(value, 'f', value < 10 ? 1 : 0);
        if (!floorKey.isEmpty()) {
            const double floor = number(novel, QStringLiteral("floor"), floorKey);
            if (floor > 0)
                text += QStringLiteral(" (%1×)").arg(value / floor, 0, 'f', 2);
        }
        return text;
    }

    QList<Novel> m_novels;
    QMap<QString, QMap<QString, Outcome>> m_outcomes;
    int m_timeout;
    QStringList m_lines;
};

QString buildTable(const QList<Novel> &novels,
                   const QMap<QString, QMap<QString, Outcome>> &outcomes, const Options &options)
{
    const QString floor = QStringLiteral("floor"), open = QStringLiteral("open");
    const QString floorKey = QStringLiteral("floor_ms");
    Table table(novels, outcomes, options.timeoutSeconds);
    table.row(QStringLiteral("characters"), floor, QStringLiteral("chars"));
    table.row(QStringLiteral("floor: read (ms)"), floor, QStringLiteral("floor_read_ms"));
    table.row(QStringLiteral("floor: decode (ms)"), floor, QStringLiteral("floor_decode_ms"));
    table.row(QStringLiteral("floor: setPlainText, detached document (ms)"), floor,
              QStringLiteral("floor_setplaintext_ms"));
    table.row(QStringLiteral("**floor** = read + decode + setPlainText (ms)"), floor, floorKey);
    table.row(QStringLiteral("detection: ZkTextDecoder::detect (ms)"), floor,
              QStringLiteral("detect_ms"));
    table.row(QStringLiteral("detection: answer"), floor, QStringLiteral("detected"));
    table.row(QStringLiteral("open: openFile call (ms, ×floor)"), open,
              QStringLiteral("open_call_ms"), floorKey);
    table.row(QStringLiteral("open: text on screen (ms, ×floor)"), open,
              QStringLiteral("open_paint_ms"), floorKey);
    table.row(QStringLiteral("open: floor again, in the same process just before (ms)"), open,
              QStringLiteral("open_floor_ms"));
    table.sameProcessRatioRow(QStringLiteral("open: text on screen ÷ same-process floor"), open,
                              QStringLiteral("open_paint_ms"), QStringLiteral("open_floor_ms"));
    table.row(QStringLiteral("open: whole text in the document (ms, ×floor)"), open,
              QStringLiteral("open_loaded_ms"), floorKey);
    table.row(QStringLiteral("open: longest pass from the choice until laid out (ms)"), open,
              QStringLiteral("open_longest_ms"));
    table.row(QStringLiteral("open: layout complete (ms, ×floor)"), open,
              QStringLiteral("open_complete_ms"), floorKey);
    table.row(QStringLiteral("open: longest pass after openFile returned (ms)"), open,
              QStringLiteral("open_longest_after_ms"));
    // Chosen a second after the window showed, and as soon as it showed.
    for (const QString &first : {QStringLiteral("firstopen"), QStringLiteral("firstopen@atonce")}) {
        const QString label = first.endsWith(QLatin1String("atonce"))
                                  ? QStringLiteral("first open, at once: ")
                                  : QStringLiteral("first open, after a second: ");
        table.row(label + QStringLiteral("openFile call (ms)"), first,
                  QStringLiteral("first_call_ms"));
        table.row(label + QStringLiteral("text on screen (ms)"), first,
                  QStringLiteral("first_text_ms"));
        table.row(label + QStringLiteral("longest pass until the text is whole (ms)"), first,
                  QStringLiteral("first_longest_ms"));
        table.row(label + QStringLiteral("whole text in (ms)"), first,
                  QStringLiteral("first_loaded_ms"));
        table.row(label + QStringLiteral("first wheel turn drawn (ms after the choice)"), first,
                  QStringLiteral("first_wheel_drawn_ms"));
        table.row(label + QStringLiteral("wheel turn answered, median (ms)"), first,
                  QStringLiteral("first_wheel_median_ms"));
        table.row(label + QStringLiteral("wheel turn answered, worst (ms)"), first,
                  QStringLiteral("first_wheel_worst_ms"));
    }
    // The same first open with the text cleaned on its way.
    for (const char *variant : {"none", "rules", "tidy"}) {
        const QString id = QStringLiteral("clean@") + QLatin1String(variant);
        const QString label = QStringLiteral("clean, %1: ").arg(QLatin1String(variant));
        table.row(label + QStringLiteral("text on screen (ms)"), id,
                  QStringLiteral("first_text_ms"));
        table.row(label + QStringLiteral("whole text in (ms)"), id,
                  QStringLiteral("first_loaded_ms"));
        table.row(label + QStringLiteral("longest pass until the text is whole (ms)"), id,
                  QStringLiteral("first_longest_ms"));
        table.row(label + QStringLiteral("changes in the position map"), id,
                  QStringLiteral("first_map_changes"));
        table.row(label + QStringLiteral("position map, bytes per character"), id,
                  QStringLiteral("first_map_bytes_per_char"));
    }
    table.row(QStringLiteral("scroll bar: estimated height off the laid-out one by (%)"), open,
              QStringLiteral("height_error_pct"));
    table.row(QStringLiteral("laying the whole text out in one go, not done by the reader (ms)"),
              open, QStringLiteral("full_layout_ms"));
    table.memoryRow(QStringLiteral("peak memory, floor process"), floor,
                    QStringLiteral("floor_peak_bytes"));
    table.memoryRow(QStringLiteral("peak memory, empty reader before opening"), open,
                    QStringLiteral("idle_peak_bytes"));
    table.memoryRow(QStringLiteral("**peak memory, novel open and laid out**"), open,
                    QStringLiteral("peak_bytes"));
    for (const QString &position : options.positions) {
        const QString id = QStringLiteral("colour@") + position;
        table.row(QStringLiteral("colour @%1: call (ms)").arg(position), id,
                  QStringLiteral("change_call_ms"));
        table.row(QStringLiteral("colour @%1: on the visible page (ms)").arg(position), id,
                  QStringLiteral("look_ms"));
        table.row(QStringLiteral("colour @%1: whole text done (ms)").arg(position), id,
                  QStringLiteral("complete_ms"));
        table.row(QStringLiteral("colour @%1: longest pass (ms)").arg(position), id,
                  QStringLiteral("longest_ms"));
        table.row(QStringLiteral("colour @%1: scroll value kept").arg(position), id,
                  QStringLiteral("scroll_kept"));
    }
    // Both keep the line at the top; in another font the same scroll value
    // shows other text.
    const auto lookChangeRows = [&table](const QString &id, const QString &label,
                                         const QString &keptLabel, const QString &keptKey) {
        table.row(label + QStringLiteral("call (ms)"), id, QStringLiteral("change_call_ms"));
        table.row(label + QStringLiteral("new look on the page (ms)"), id,
                  QStringLiteral("look_ms"));
        table.row(label + QStringLiteral("page final (ms)"), id, QStringLiteral("final_ms"));
        table.row(label + QStringLiteral("whole text laid out (ms)"), id,
                  QStringLiteral("complete_ms"));
        table.row(label + QStringLiteral("longest pass (ms)"), id, QStringLiteral("longest_ms"));
        table.row(label + keptLabel, id, keptKey);
        table.row(label + QStringLiteral("cursor kept"), id, QStringLiteral("cursor_kept"));
    };
    for (const QString &position : options.positions)
        lookChangeRows(QStringLiteral("comfort@") + position,
                       QStringLiteral("comfort @%1: ").arg(position),
                       QStringLiteral("top line kept"), QStringLiteral("top_char_kept"));
    for (const QString &position : options.positions)
        lookChangeRows(QStringLiteral("font@") + position,
                       QStringLiteral("font %1 pt @%2: ").arg(options.fontSize).arg(position),
                       QStringLiteral("top line kept"), QStringLiteral("top_char_kept"));
    table.row(QStringLiteral("find forward, no match (ms, ×QTextDocument::find)"), open,
              QStringLiteral("find_forward_ms"), QStringLiteral("floor_find_forward_ms"));
    table.row(QStringLiteral("find backward, no match (ms, ×QTextDocument::find)"), open,
              QStringLiteral("find_backward_ms"), QStringLiteral("floor_find_backward_ms"));
    for (const QString &where : options.jumps) {
        const QString id = QStringLiteral("jump@") + where;
        const QString label = where == QLatin1String("max")
                                  ? QStringLiteral("scroll bar to maximum after opening: ")
                              : where == QLatin1String("restore")
                                  ? QStringLiteral("opened at a stored position in the middle: ")
                                  : QStringLiteral("jump to the %1 after opening: ")
                                        .arg(where == QLatin1String("mid") ? "middle" : "end");
        table.row(label + QStringLiteral("call (ms)"), id, QStringLiteral("jump_call_ms"));
        table.row(label + QStringLiteral("target on screen (ms)"), id,
                  QStringLiteral("jump_paint_ms"));
        table.row(label + QStringLiteral("longest pass (ms)"), id,
                  QStringLiteral("jump_longest_ms"));
        table.row(label + QStringLiteral("still on screen once laid out"), id,
                  QStringLiteral("jump_kept"));
    }
    const QString convert = QStringLiteral("convert");
    table.row(QStringLiteral("convert: unconverted, whole text in the document (ms)"), convert,
              QStringLiteral("open_loaded_ms"));
    table.row(QStringLiteral("convert: loading s2twp's dictionaries on the pool beforehand (ms)"),
              convert, QStringLiteral("dictionaries_ms"));
    table.row(QStringLiteral("convert: to Taiwan's script and words: call (ms)"), convert,
              QStringLiteral("convert_call_ms"));
    table.row(QStringLiteral("convert: converted text on screen after the choice (ms)"), convert,
              QStringLiteral("convert_paint_ms"));
    table.row(QStringLiteral("convert: whole converted text in the document (ms)"), convert,
              QStringLiteral("convert_loaded_ms"));
    table.sameProcessRatioRow(QStringLiteral("convert: whole converted text ÷ unconverted"),
                              convert, QStringLiteral("convert_loaded_ms"),
                              QStringLiteral("open_loaded_ms"));
    table.row(QStringLiteral("convert: longest pass from the choice until it is all in (ms)"),
              convert, QStringLiteral("convert_longest_ms"));
    table.row(QStringLiteral("convert: back to the file's own: text on screen (ms)"), convert,
              QStringLiteral("back_paint_ms"));
    table.row(QStringLiteral("convert: back: whole text in the document (ms)"), convert,
              QStringLiteral("back_loaded_ms"));
    table.row(QStringLiteral("convert: back: longest pass (ms)"), convert,
              QStringLiteral("back_longest_ms"));
    table.memoryRow(QStringLiteral("convert: peak memory"), convert, QStringLiteral("peak_bytes"));
    const QString chapters = QStringLiteral("chapters");
    table.row(QStringLiteral("chapters: scan on the GUI thread, for comparison (ms)"), chapters,
              QStringLiteral("scan_ms"));
    table.row(QStringLiteral("chapters: headings found"), chapters, QStringLiteral("list_rows"));
    table.row(
        QStringLiteral("chapters: an expression of one's own (^第\\d+章), preview on a worker "
                       "thread (ms)"),
        chapters, QStringLiteral("custom_scan_ms"));
    table.row(QStringLiteral("chapters: headings the expression found"), chapters,
              QStringLiteral("custom_scan_chapters"));
    table.row(QStringLiteral("chapters: text on screen (ms, ×floor)"), chapters,
              QStringLiteral("open_paint_ms"), floorKey);
    table.row(QStringLiteral("chapters: list complete after the text is on screen (ms)"), chapters,
              QStringLiteral("list_after_paint_ms"));
    table.row(
        QStringLiteral("chapters: list complete after the whole text is in the document (ms)"),
        chapters, QStringLiteral("list_after_loaded_ms"));
    table.row(QStringLiteral("chapters: whole text in the document (ms)"), chapters,
              QStringLiteral("open_loaded_ms"));
    table.memoryRow(QStringLiteral("chapters: peak memory, novel open and laid out"), chapters,
                    QStringLiteral("peak_bytes"));
    table.row(QStringLiteral("chapters: filling the list (ms)"), chapters,
              QStringLiteral("list_fill_ms"));
    table.row(QStringLiteral("chapters: longest pass until the list is complete, at least 100 ms "
                             "after the text is on screen (ms)"),
              chapters, QStringLiteral("list_longest_after_ms"));
    table.row(QStringLiteral("chapters: the same without the list (ms)"),
              QStringLiteral("chapters@nolist"), QStringLiteral("list_longest_after_ms"));
    table.row(QStringLiteral("chapters: jump to the middle chapter: call (ms)"), chapters,
              QStringLiteral("chapter_jump_call_ms"));
    table.row(QStringLiteral("chapters: jump: heading on screen (ms)"), chapters,
              QStringLiteral("chapter_jump_paint_ms"));
    table.row(QStringLiteral("chapters: jump: longest pass (ms)"), chapters,
              QStringLiteral("chapter_jump_longest_ms"));
    table.row(QStringLiteral("chapters: jump: heading on the top line once settled"), chapters,
              QStringLiteral("chapter_jump_top_kept"));
    table.row(QStringLiteral("chapters: scroll step with the list following (µs)"), chapters,
              QStringLiteral("follow_step_us"));
    table.row(QStringLiteral("chapters: scroll step without the list (µs)"), chapters,
              QStringLiteral("plain_step_us"));
    const QString search = QStringLiteral("search");
    const auto searchRows = [&table, &search](const QString &prefix, const QString &label) {
        table.row(label + QStringLiteral("matches"), search, prefix + QStringLiteral("count"));
        table.row(label + QStringLiteral("rows listed"), search, prefix + QStringLiteral("rows"));
        table.row(label + QStringLiteral("call (ms)"), search, prefix + QStringLiteral("call_ms"));
        table.row(label + QStringLiteral("first 100 rows (ms)"), search,
                  prefix + QStringLiteral("first100_ms"));
        table.row(label + QStringLiteral("all found (ms)"), search,
                  prefix + QStringLiteral("all_ms"));
        table.row(label + QStringLiteral("longest pass (ms)"), search,
                  prefix + QStringLiteral("longest_ms"));
        table.row(label + QStringLiteral("longest pass after the call (ms)"), search,
                  prefix + QStringLiteral("longest_after_ms"));
    };
    searchRows(QStringLiteral("loading_"),
               QStringLiteral("search 山风, opened and started at once: "));
    searchRows(QStringLiteral("search_"), QStringLiteral("search 山风, text whole: "));
    searchRows(QStringLiteral("common_"), QStringLiteral("search 的: "));
    table.row(QStringLiteral("find next 第100章 from the start: first pass (ms)"), search,
              QStringLiteral("next_hit_call_ms"));
    table.row(QStringLiteral("find next 第100章 from the start: selected (ms)"), search,
              QStringLiteral("next_hit_done_ms"));
    table.row(QStringLiteral("find next, no match: first pass (ms)"), search,
              QStringLiteral("next_miss_call_ms"));
    table.row(QStringLiteral("find next, no match: answered (ms)"), search,
              QStringLiteral("next_miss_done_ms"));
    table.row(QStringLiteral("find next, no match: longest pass (ms)"), search,
              QStringLiteral("next_miss_longest_ms"));
    const QString shelf = QStringLiteral("shelf");
    table.row(QStringLiteral("shelf of 500 books: reading state read (ms)"), shelf,
              QStringLiteral("shelf_state_load_ms"));
    table.row(QStringLiteral("shelf: rows made, each file looked for (ms)"), shelf,
              QStringLiteral("shelf_rows_ms"));
    table.row(QStringLiteral("shelf: filter typed (ms)"), shelf, QStringLiteral("shelf_filter_ms"));
    table.row(QStringLiteral("shelf: 50 missing books looked for in 10 folders (ms)"), shelf,
              QStringLiteral("shelf_find_moved_ms"));
    table.row(QStringLiteral("shelf: books found again (of 25 moved)"), shelf,
              QStringLiteral("shelf_found_again"));
    table.row(QStringLiteral("shelf: dialog on screen (ms)"), shelf,
              QStringLiteral("shelf_dialog_shown_ms"));
    return table.text();
}

int runParent(const Options &options)
{
    QTemporaryDir temporary;
    const QString dir = options.dir.isEmpty() ? temporary.path() : options.dir;
    QDir().mkpath(dir);
    QList<Novel> novels;
    for (const QString &encoding : options.encodings) {
        for (int megabytes : options.sizes)
            novels.append({megabytes, encoding, writeNovel(dir, megabytes, encoding)});
    }

    QMap<QString, QMap<QString, Outcome>> outcomes;
    QTextStream err(stderr);
    for (const Novel &novel : qAsConst(novels)) {
        // UTF-8 differs from GBK only in reading and decoding.
        const bool gbk = novel.encoding == QLatin1String("gbk");
        QList<QPair<QString, QString>> runs;
        for (const QString &kind : options.cases) {
            if (kind == QLatin1String("chapters")) {
                if (gbk)
                    runs << qMakePair(kind, QString()) << qMakePair(kind, QStringLiteral("nolist"));
            } else if (kind == QLatin1String("jump")) {
                if (gbk) {
                    for (const QString &where : options.jumps)
                        runs.append({kind, where});
                }
            } else if (kind == QLatin1String("colour") || kind == QLatin1String("font") ||
                       kind == QLatin1String("comfort")) {
                if (gbk) {
                    for (const QString &position : options.positions)
                        runs.append({kind, position});
                }
            } else if (kind == QLatin1String("clean")) {
                if (gbk) {
                    for (const char *variant : {"none", "rules", "tidy"})
                        runs.append({kind, QString::fromLatin1(variant)});
                }
            } else if (kind == QLatin1String("firstopen")) {
                if (gbk)
                    runs << qMakePair(kind, QString()) << qMakePair(kind, QStringLiteral("atonce"));
            } else if (gbk || kind == QLatin1String("floor") || kind == QLatin1String("open")) {
                runs.append({kind, QString()});
            }
        }
        for (const auto &run : qAsConst(runs)) {
            const QString id = run.second.isEmpty() ? run.first : run.first + '@' + run.second;
            err << novel.name() << ' ' << id << " ... " << Qt::flush;
            QElapsedTimer timer;
            timer.start();
            const Outcome outcome = runChild(novel, run.first, run.second, options);
            outcomes[novel.name()][id] = outcome;
            err << outcome.status << " in " << timer.elapsed() / 1000.0 << " s";
            for (auto it = outcome.values.cbegin(); it != outcome.values.cend(); ++it)
                err << ' ' << it.key() << '=' << it.value();
            err << Qt::endl;
        }
    }
    std::printf("%s", qPrintable(buildTable(novels, outcomes, options)));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // as the program does
    TextLoader::keepLargeBlocksMapped();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc > 1 && qstrcmp(argv[1], "--child") == 0;
    QScopedPointer<QCoreApplication> app(child ? new QApplication(argc, argv)
                                               : new QCoreApplication(argc, argv));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the reading view on large novels."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"), QStringLiteral("Novel sizes in MB."),
                                   QStringLiteral("list"), QStringLiteral("1,10,40"));
    const QCommandLineOption encodings(QStringLiteral("encodings"),
                                       QStringLiteral("gbk, utf8, big5, utf16le, utf16be."),
                                       QStringLiteral("list"), QStringLiteral("gbk,utf8"));
    const QCommandLineOption cases(
        QStringLiteral("cases"),
        QStringLiteral("floor, open, firstopen, clean, jump, chapters, colour, font, comfort, "
                       "search, convert, shelf."),
        QStringLiteral("list"),
        QStringLiteral("floor,open,firstopen,clean,jump,chapters,colour,font,comfort,search"));
    const QCommandLineOption positions(QStringLiteral("positions"),
                                       QStringLiteral("start, mid, end."), QStringLiteral("list"),
                                       QStringLiteral("start,mid,end"));
    const QCommandLineOption jumps(
        QStringLiteral("jumps"),
        QStringLiteral("mid, end, max (scroll bar), restore (while opening)."),
        QStringLiteral("list"), QStringLiteral("mid,end,max,restore"));
    const QCommandLineOption fontSize(QStringLiteral("font-size"),
                                      QStringLiteral("Point size the font changes to (from 12)."),
                                      QStringLiteral("points"), QStringLiteral("14"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("Seconds before a case counts as hung."),
                                     QStringLiteral("seconds"), QStringLiteral("300"));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Keep the generated novels in this folder."),
                                 QStringLiteral("folder"));
    const QCommandLineOption childKind(QStringLiteral("child"), QStringLiteral("internal"),
                                       QStringLiteral("kind"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("internal"),
                                  QStringLiteral("path"));
    const QCommandLineOption encoding(QStringLiteral("encoding"), QStringLiteral("internal"),
                                      QStringLiteral("name"));
    const QCommandLineOption position(QStringLiteral("position"), QStringLiteral("internal"),
                                      QStringLiteral("where"));
    parser.addOptions({sizes, encodings, cases, positions, jumps, fontSize, timeout, dir, childKind,
                       file, encoding, position});
    parser.process(*app);

    if (child) {
        BenchCase benchCase;
        benchCase.kind = parser.value(childKind);
        benchCase.file = parser.value(file);
        benchCase.encoding = parser.value(encoding);
        benchCase.position = parser.value(position);
        benchCase.fontSize = parser.value(fontSize).toInt();
        return runBenchCase(benchCase);
    }

    Options options;
    for (const QString &size : splitList(parser.value(sizes)))
        options.sizes << size.toInt();
    options.encodings = splitList(parser.value(encodings));
    options.cases = splitList(parser.value(cases));
    options.positions = splitList(parser.value(positions));
    options.jumps = splitList(parser.value(jumps));
    options.fontSize = parser.value(fontSize).toInt();
    options.timeoutSeconds = parser.value(timeout).toInt();
    options.dir = parser.value(dir);
    return runParent(options);
}
