#include "BenchCase.h"
#include "BenchSupport.h"
#include "CleanCase.h"
#include "FirstOpenCase.h"

#include "ChapterIndex.h"
#include "ChapterModel.h"
#include "ChapterPanel.h"
#include "ChapterRule.h"
#include "NovelGenerator.h"
#include "ReadingLayout.h"
#include "ScriptConverter.h"
#include "SearchBench.h"
#include "ShelfCase.h"
#include "TextDisplay.h"
#include "TextEncoding.h"
#include "TransformOptions.h"
#include "WorkerPool.h"
#include "ZkTextDecoder.h"
#include "ZkUtility.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCodec>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

using namespace bench;

namespace
{

const QString Needle = QStringLiteral("查无此句XYZ");
const int CaseTimeoutMs = 600000;
const int JumpTimeoutMs = 30000;

double sameProcessFloorMs(const BenchCase &benchCase);
QString novelText(const QByteArray &bytes, const QString &encoding);
void resetPeakResident();

class Session
{
public:
    explicit Session(const BenchCase &benchCase);
    int run();

private:
    struct Paint {
        qint64 ns;
        int top;
        int bottom;
        bool look;
        bool target; // the jump's target line lies wholly in the viewport
    };

    double msBetween(qint64 from, qint64 to) const { return (to - from) / 1e6; }

    void setUp();
    void tick();
    void onPainted();
    qint64 trigger(const std::function<void()> &action);
    void waitMs(int ms);
    qint64 waitUntil(const std::function<bool()> &condition, int timeoutMs = CaseTimeoutMs);
    void stopTracking(const char *prefix);

    bool lookAt(int position) const;
    bool layoutMatches(const QTextBlock &block) const;
    bool layoutComplete() const;
    void reportEstimatedHeight();
    int positionAt(int viewportY) const;
    int visibleTop() const;
    int visibleBottom() const;
    bool lineVisible(int position) const;

    void openNovel();
    qint64 firstLookPaint() const;
    qint64 waitForTarget(qint64 start, const char *key);
    double scrollStepUs(int steps);
    void reportScan();
    void jumpFromList(QListView *list);
    void placeView(const QString &position);
    void changeLook();

    int runFloor();
    int runOpen();
    int runJump();
    int runRestore();
    int followJump(qint64 start);
    int runChapters();
    int runLookChange();
    int runConvert();
    void switchScript(const char *prefix, Script script);

    BenchCase m_case;
    QElapsedTimer m_clock;
    ReadingView m_view;
    TextDisplay m_display;
    QTimer m_heartbeat;
    QFont m_font;
    QColor m_color;
    ComfortSettings m_comfort;

    qint64 m_lastTick = -1;
    bool m_tracking = false;
    qint64 m_start = 0; // when the last triggering call began
    qint64 m_callEnd = 0;
    qint64 m_loadedAt = -1;    // when the whole text of the last open was in the document
    qint64 m_longest = 0;      // every pass since the trigger, the trigger included
    qint64 m_longestAfter = 0; // passes that began after the triggering call returned
    QVector<Paint> m_paints;
    int m_target = -1; // character a jump goes to
};

Session::Session(const BenchCase &benchCase) : m_case(benchCase)
{
    m_clock.start();
    m_heartbeat.setInterval(1);
    m_heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_heartbeat, &QTimer::timeout, [this] { tick(); });
    m_view.painted = [this] {
        onPainted();
    };
    QObject::connect(&m_display, &TextDisplay::loadProgress, [this](int percent) {
        if (percent == 100 && m_loadedAt < 0)
            m_loadedAt = m_clock.nsecsElapsed();
    });
}

void Session::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    if (m_tracking && m_lastTick >= 0) {
        m_longest = qMax(m_longest, now - m_lastTick);
        if (m_lastTick >= m_callEnd)
            m_longestAfter = qMax(m_longestAfter, now - m_lastTick);
    }
    m_lastTick = now;
}

void Session::onPainted()
{
    if (!m_tracking)
        return;
    const int top = visibleTop();
    const int bottom = visibleBottom();
    const bool look = m_view.document()->characterCount() > 1 && lookAt(top) && lookAt(bottom);
    m_paints.append(
        {m_clock.nsecsElapsed(), top, bottom, look, m_target >= 0 && lineVisible(m_target)});
}

// Runs the action as one pass of the event loop, the way a slot would run.
qint64 Session::trigger(const std::function<void()> &action)
{
    QEventLoop loop;
    QTimer::singleShot(0, [&] {
        m_paints.clear();
        m_longest = m_longestAfter = 0;
        m_callEnd = std::numeric_limits<qint64>::max();
        m_tracking = true;
        m_loadedAt = -1;
        m_start = m_clock.nsecsElapsed();
        // The pass before the choice is none of the choice's.
        m_lastTick = m_start;
        action();
        m_callEnd = m_clock.nsecsElapsed();
        loop.quit();
    });
    loop.exec();
    return m_start;
}

void Session::waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Checks every 20 ms; returns when the condition first held, or -1.
qint64 Session::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    qint64 when = -1;
    const qint64 deadline = m_clock.nsecsElapsed() + qint64(timeoutMs) * 1000000;
    QEventLoop loop;
    QTimer check;
    check.setInterval(20);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (condition())
            when = m_clock.nsecsElapsed();
        if (when >= 0 || m_clock.nsecsElapsed() > deadline)
            loop.quit();
    });
    if (condition())
        return m_clock.nsecsElapsed();
    check.start();
    loop.exec();
    return when;
}

void Session::stopTracking(const char *prefix)
{
    m_tracking = false;
    report(qPrintable(QStringLiteral("%1longest_ms").arg(prefix)), m_longest / 1e6);
    report(qPrintable(QStringLiteral("%1longest_after_ms").arg(prefix)), m_longestAfter / 1e6);
}

// Whether the character at position is laid out and painted as the chosen
// look asks: font and colour of its format (or the defaults it falls back
// on) and lines broken as that font breaks them.
bool Session::lookAt(int position) const
{
    const QTextBlock block = m_view.document()->findBlock(position);
    if (!block.isValid() || block.layout() == nullptr || block.layout()->lineCount() == 0)
        return false;
    QTextCharFormat format = block.charFormat();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position) || it == block.begin()) {
            format = fragment.charFormat();
            if (fragment.contains(position))
                break;
        }
    }
    const QFont font = format.font();
    if (font.family() != m_font.family() || font.pointSizeF() != m_font.pointSizeF())
        return false;
    const QColor color = format.foreground().style() == Qt::NoBrush
                             ? m_view.palette().color(QPalette::Text)
                             : format.foreground().color();
    return color == m_color && layoutMatches(block);
}

// Lays the block's text out afresh in the chosen font and column width and
// compares: a block still holding lines of the previous font or comfort
// settings differs in height, breaks or line spacing.
bool Session::layoutMatches(const QTextBlock &block) const
{
    const QTextDocument *document = m_view.document();
    QTextLayout probe(block.text(), m_font);
    probe.setTextOption(document->defaultTextOption());
    const auto *reading = qobject_cast<const ReadingLayout *>(document->documentLayout());
    const qreal width = reading != nullptr ? reading->lineWidth()
                                           : document->textWidth() - 2 * document->documentMargin();
    probe.beginLayout();
    for (QTextLine line = probe.createLine(); line.isValid(); line = probe.createLine())
        line.setLineWidth(width);
    probe.endLayout();
    const QTextLayout *laid = block.layout();
    if (laid->lineCount() != probe.lineCount())
        return false;
    const QTextLine first = laid->lineAt(0);
    if (first.textLength() != probe.lineAt(0).textLength() ||
        qAbs(first.height() - probe.lineAt(0).height()) >= 0.01)
        return false;
    if (laid->lineCount() < 2)
        return true;
    const QTextLine line = probe.lineAt(0);
    const qreal natural = std::ceil(line.ascent() + line.descent() + line.leading());
    const qreal pitch = std::ceil(natural * m_comfort.lineSpacing / 100.0);
    return qAbs(laid->lineAt(1).y() - first.y() - pitch) < 0.01;
}

bool Session::layoutComplete() const
{
    if (m_display.isLoading())
        return false;
    const QTextDocument *document = m_view.document();
    // A long text is laid out where it is shown, and nowhere else.
    const auto *reading = qobject_cast<const ReadingLayout *>(document->documentLayout());
    if (reading != nullptr && !reading->laysOutInBackground())
        return lookAt(visibleTop()) && lookAt(visibleBottom());
    const int last = document->characterCount() - 1;
    for (int i = 0; i <= 64; ++i) {
        if (!lookAt(int(qint64(last) * i / 64)))
            return false;
    }
    return true;
}

// Asks the layout directly: QTextEdit::cursorForPosition would build a cursor,
// and a cursor computes its x position, which lays the text out down to it.
int Session::positionAt(int viewportY) const
{
    // Inside the document margin the layout answers with the end of the text.
    const qreal margin = m_view.document()->documentMargin() + 2;
    const QPointF point(margin,
                        m_view.verticalScrollBar()->value() + qMax<qreal>(viewportY, margin));
    return qMax(0, m_view.document()->documentLayout()->hitTest(point, Qt::FuzzyHit));
}

int Session::visibleTop() const
{
    return positionAt(2);
}

int Session::visibleBottom() const
{
    return positionAt(m_view.viewport()->height() - 3);
}

// Whether the line holding position is laid out and wholly in the viewport.
bool Session::lineVisible(int position) const
{
    const QTextBlock block = m_view.document()->findBlock(position);
    if (!block.isValid() || block.layout() == nullptr || block.layout()->lineCount() == 0)
        return false;
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const qreal top = m_view.document()->documentLayout()->blockBoundingRect(block).top() +
                      line.y() - m_view.verticalScrollBar()->value();
    return line.isValid() && top >= 0 && top + line.height() <= m_view.viewport()->height();
}

void Session::setUp()
{
    m_font = QFont(QStringLiteral("宋体"), 12);
    m_color = Qt::black;
    m_view.resize(900, 700);
    m_display.setTextWidget(&m_view);
    m_display.setParentWidget(&m_view);
    m_display.setTextFont(m_font);
    m_display.setTextColor(m_color);
    m_display.setBackColor(Qt::white);
    m_view.show();
    waitMs(300);
    m_heartbeat.start();
    waitMs(50); // so that the first triggering pass has a beat before it
}

void Session::openNovel()
{
    const qint64 start = trigger([this] { m_display.openFile(m_case.file, true, 0); });
    report("open_call_ms", msBetween(start, m_callEnd));
    const QTextDocument *document = m_view.document();
    const qint64 shown = waitUntil([this] {
        return std::any_of(m_paints.cbegin(), m_paints.cend(),
                           [](const Paint &p) { return p.look; });
    });
    const qint64 painted = firstLookPaint();
    if (shown >= 0 && painted >= 0)
        report("open_paint_ms", msBetween(start, painted));
    else
        report("open_paint_ms", QStringLiteral("never"));
    // A long text arrives in pieces after its start is on screen.
    if (waitUntil([this] { return !m_display.isLoading(); }) >= 0 && m_loadedAt >= 0)
        report("open_loaded_ms", msBetween(start, m_loadedAt));
    else
        report("open_loaded_ms", QStringLiteral("never"));
    report("chars", document->characterCount());
    report("cursor_after_open", m_view.textCursor().position());
    report("scroll_after_open", m_view.verticalScrollBar()->value());
}

int Session::runOpen()
{
    setUp();
    // The floor again, in this process just before the open: separate
    // processes differ by up to a quarter in how fast they read and decode.
    report("open_floor_ms", sameProcessFloorMs(m_case));
    resetPeakResident();
    report("idle_peak_bytes", peakResident());
    openNovel();
    const qint64 done = waitUntil([this] { return layoutComplete(); });
    report("open_complete_ms", done < 0 ? -1 : msBetween(m_start, done));
    stopTracking("open_");
    report("peak_bytes", peakResident());

    QElapsedTimer timer;
    QTextCursor cursor(m_view.document());
    m_view.setTextCursor(cursor);
    timer.start();
    const bool forward = m_view.find(Needle);
    report("find_forward_ms", timer.nsecsElapsed() / 1e6);
    cursor.movePosition(QTextCursor::End);
    m_view.setTextCursor(cursor);
    timer.start();
    const bool backward = m_view.find(Needle, QTextDocument::FindBackward);
    report("find_backward_ms", timer.nsecsElapsed() / 1e6);
    if (forward || backward)
        report("find_error", QStringLiteral("needle found"));
    reportEstimatedHeight();
    return 0;
}

// How far the scroll bar's height, from estimates where the text is not laid
// out, is from the height of the whole text laid out; and how long laying
// it all out takes in one go.
void Session::reportEstimatedHeight()
{
    const QTextDocument *document = m_view.document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const qreal estimated = layout->documentSize().height();
    QElapsedTimer timer;
    timer.start();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        layout->blockBoundingRect(block);
    report("full_layout_ms", timer.elapsed());
    const qreal laidOut = layout->documentSize().height();
    report("height_error_pct", (estimated - laidOut) * 100 / laidOut);
}

// Right after the first paint of a freshly opened novel, while the rest is
// still being laid out: the cursor goes to the middle or the last character
// (setPosition + setTextCursor, as a bookmark or a find does), or the scroll
// bar goes to its maximum.
int Session::runJump()
{
    if (m_case.position == QLatin1String("restore"))
        return runRestore();
    setUp();
    openNovel();
    const QTextDocument *document = m_view.document();
    const int last = document->characterCount() - 1;
    const bool toMaximum = m_case.position == QLatin1String("max");
    const int target = m_case.position == QLatin1String("mid") ? last / 2 : last;
    m_target = target;
    const qint64 start = trigger([this, target, toMaximum] {
        if (toMaximum) {
            m_view.verticalScrollBar()->setValue(m_view.verticalScrollBar()->maximum());
            return;
        }
        QTextCursor cursor(m_view.document());
        cursor.setPosition(target);
        m_view.setTextCursor(cursor);
    });
    report("jump_call_ms", msBetween(start, m_callEnd));
    return followJump(start);
}

// As the reader returns to where a file was left: the middle of the text,
// shown in the opening's own pass.
int Session::runRestore()
{
    setUp();
    // The middle of the whole text, which a long novel has not all loaded
    // when it opens; in document positions, where CR LF counts one.
    QFile file(m_case.file);
    file.open(QIODevice::ReadOnly);
    int codec = 0;
    const QString text = ZkTextDecoder::decodeText(file.readAll(), &codec);
    const int target = (text.size() - text.count(QStringLiteral("\r\n"))) / 2;
    QObject::connect(&m_display, &TextDisplay::opened, [this, target] {
        m_target = target;
        m_display.showPosition(m_target, 0);
    });
    openNovel();
    report("jump_call_ms", msBetween(m_start, m_callEnd));
    return followJump(m_start);
}

// The target must show, and stay on screen while the layout goes on around
// it.
int Session::followJump(qint64 start)
{
    waitForTarget(start, "jump_paint_ms");
    const qint64 done = waitUntil([this] { return layoutComplete(); }, JumpTimeoutMs);
    report("jump_complete_ms", done < 0 ? -1 : msBetween(start, done));
    waitMs(300);
    stopTracking("jump_");
    report("jump_kept", QString::number(lineVisible(m_target)));
    return 0;
}

qint64 Session::firstLookPaint() const
{
    for (const Paint &paint : m_paints) {
        if (paint.look)
            return paint.ns;
    }
    return -1;
}

// Waits for the first paint that shows the line of m_target whole and in
// the chosen look; reports when that was, counted from start.
qint64 Session::waitForTarget(qint64 start, const char *key)
{
    const auto shows = [](const Paint &p) {
        return p.look && p.target;
    };
    waitUntil([this, shows] { return std::any_of(m_paints.cbegin(), m_paints.cend(), shows); },
              JumpTimeoutMs);
    const auto first = std::find_if(m_paints.cbegin(), m_paints.cend(), shows);
    if (first == m_paints.cend()) {
        report(key, QStringLiteral("never (%1 s)").arg(JumpTimeoutMs / 1000));
        return -1;
    }
    report(key, msBetween(start, first->ns));
    return first->ns;
}

// Mean time of moving the view down by one scroll-bar unit, as automatic
// scrolling does, with whatever listens to the scroll bar.
double Session::scrollStepUs(int steps)
{
    QScrollBar *bar = m_view.verticalScrollBar();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < steps; ++i)
        bar->setValue(bar->value() + 1);
    return timer.nsecsElapsed() / 1e3 / steps;
}

void Session::reportScan()
{
    QFile file(m_case.file);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = novelText(file.readAll(), m_case.encoding);
    QElapsedTimer timer;
    timer.start();
    const int found = ChapterIndex::scan(text).size();
    report("scan_ms", timer.nsecsElapsed() / 1e6);
    report("scan_chapters", found);
    // The rule dialog's preview of an expression of the reader's own, on a
    // worker thread as the dialog runs it.
    ChapterRule rule;
    rule.kind = ChapterRule::Custom;
    rule.pattern = QStringLiteral("^第\\d+章");
    timer.restart();
    const ChapterScan custom =
        WorkerPool::run([&] { return ChapterRules::scan(text, rule); }).result();
    report("custom_scan_ms", timer.nsecsElapsed() / 1e6);
    report("custom_scan_chapters", custom.chapters.size());
}

// A click on the list's middle row.
void Session::jumpFromList(QListView *list)
{
    const QModelIndex middle = list->model()->index(list->model()->rowCount() / 2, 0);
    const int position = static_cast<ChapterModel *>(list->model())->chapter(middle.row()).position;
    m_target = position;
    const qint64 start = trigger([list, middle] { emit list->activated(middle); });
    report("chapter_jump_call_ms", msBetween(start, m_callEnd));
    waitForTarget(start, "chapter_jump_paint_ms");
    waitMs(300);
    stopTracking("chapter_jump_");
    report("chapter_jump_top_kept",
           QString::number(m_view.document()->findBlock(position).position() ==
                           m_display.topPosition()));
}

// The chapter list as the main window has it: the panel scans each text the
// view gets on a worker thread. Measured: the scan alone on this thread,
// how long after the text is on screen the list is complete and the longest
// pass meanwhile, a jump from the list to the middle chapter, and what the
// list's following costs a scroll step. With the position "nolist" the same
// open without the list, for the longest pass over the same stretch.
int Session::runChapters()
{
    const bool withList = m_case.position != QLatin1String("nolist");
    if (withList)
        reportScan();
    setUp();
    ChapterPanel panel;
    panel.setTextWidget(&m_view);
    panel.setTextDisplay(&m_display);
    if (withList)
        QObject::connect(&m_display, &TextDisplay::textRead, &panel, &ChapterPanel::scanText);
    panel.show();
    auto *list = panel.findChild<QListView *>(QStringLiteral("chapterView"));
    qint64 listed = -1, filling = -1;
    QObject::connect(list->model(), &QAbstractItemModel::modelAboutToBeReset,
                     [&] { filling = m_clock.nsecsElapsed(); });
    QObject::connect(list->model(), &QAbstractItemModel::modelReset, [&] {
        if (list->model()->rowCount() > 0) {
            listed = m_clock.nsecsElapsed();
            report("list_fill_ms", msBetween(filling, listed));
        }
    });

    openNovel();
    if (withList && waitUntil([&] { return listed >= 0; }) < 0)
        return 1;
    const qint64 painted = firstLookPaint();
    if (withList && painted >= 0)
        report("list_after_paint_ms", msBetween(painted, listed));
    // What the list itself adds: the text of a long novel arrives first.
    if (withList && m_loadedAt >= 0)
        report("list_after_loaded_ms", msBetween(m_loadedAt, listed));
    report("list_rows", list->model()->rowCount());
    // Both ways over the same stretch: at least 100 ms after the paint.
    waitMs(qMax<qint64>(0, (painted + 100000000 - m_clock.nsecsElapsed()) / 1000000));
    stopTracking("list_");
    // Comparable with the open case: the text held for the scan must not
    // raise the peak.
    waitUntil([this] { return layoutComplete(); });
    report("peak_bytes", peakResident());
    if (!withList)
        return 0;

    jumpFromList(list);
    m_tracking = false;
    report("follow_step_us", scrollStepUs(2000));
    QObject::disconnect(m_view.verticalScrollBar(), nullptr, &panel, nullptr);
    report("plain_step_us", scrollStepUs(2000));
    return 0;
}

// Puts the view where a reader would be and a small selection on the page.
void Session::placeView(const QString &position)
{
    QTextDocument *document = m_view.document();
    QScrollBar *bar = m_view.verticalScrollBar();
    const int last = document->characterCount() - 1;
    const QTextBlock middle = document->findBlock(last / 2);
    int anchor = 10;
    if (position == QLatin1String("mid"))
        anchor = middle.position() + 2;
    else if (position == QLatin1String("end"))
        anchor = last - 12;
    QTextCursor cursor(document);
    cursor.setPosition(anchor);
    cursor.setPosition(anchor + 5, QTextCursor::KeepAnchor);
    m_view.setTextCursor(cursor);
    // The view learns the final height of the text a pass later.
    waitMs(200);
    if (position == QLatin1String("mid"))
        bar->setValue(int(document->documentLayout()->blockBoundingRect(middle).top()));
    else if (position == QLatin1String("end"))
        bar->setValue(bar->maximum());
    else
        bar->setValue(0);
    waitMs(300);
}

void Session::changeLook()
{
    if (m_case.kind == QLatin1String("comfort")) {
        m_comfort.lineSpacing = 150;
        m_comfort.paragraphSpacing = 8;
        m_comfort.sideMargin = 40;
        m_comfort.maxTextWidth = 700;
        m_display.setComfort(m_comfort);
    } else if (m_case.kind == QLatin1String("colour")) {
        m_color = QColor(0x80, 0x20, 0x20);
        m_display.setTextColor(m_color);
    } else {
        m_font = QFont(QStringLiteral("宋体"), m_case.fontSize);
        m_display.setTextFont(m_font);
    }
}

int Session::runLookChange()
{
    setUp();
    openNovel();
    if (waitUntil([this] { return layoutComplete(); }) < 0)
        return 1;
    m_tracking = false;
    placeView(m_case.position);

    QScrollBar *bar = m_view.verticalScrollBar();
    const int valueBefore = bar->value();
    const int topBefore = visibleTop();
    const int cursorBefore = m_view.textCursor().position();
    report("scroll_before", valueBefore);
    report("change_started", QStringLiteral("1"));

    const qint64 start = trigger([this] { changeLook(); });
    report("change_call_ms", msBetween(start, m_callEnd));
    waitUntil([this] {
        return std::any_of(m_paints.cbegin(), m_paints.cend(),
                           [](const Paint &p) { return p.look; });
    });
    for (const Paint &paint : qAsConst(m_paints)) {
        if (paint.look) {
            report("look_ms", msBetween(start, paint.ns));
            break;
        }
    }
    const qint64 done = waitUntil([this] { return layoutComplete(); });
    report("complete_ms", done < 0 ? -1 : msBetween(start, done));
    waitMs(500);
    stopTracking("");

    // The page is final from the first paint after which nothing that is
    // seen changes any more.
    int settled = m_paints.size() - 1;
    while (settled > 0 && m_paints[settled - 1].look &&
           m_paints[settled - 1].top == m_paints.last().top)
        --settled;
    if (settled >= 0 && m_paints[settled].look)
        report("final_ms", msBetween(start, m_paints[settled].ns));
    else
        report("final_ms", QStringLiteral("never"));

    const QTextBlock topBlock = m_view.document()->findBlock(visibleTop());
    const QTextLine topLine =
        topBlock.layout()->lineForTextPosition(visibleTop() - topBlock.position());
    const int lineStart = topBlock.position() + topLine.textStart();
    const bool topKept =
        topBefore >= lineStart && topBefore < lineStart + qMax(1, topLine.textLength());
    report("scroll_after", bar->value());
    report("scroll_kept", QString::number(bar->value() == valueBefore));
    report("top_char_kept", QString::number(topKept));
    report("cursor_kept", QString::number(m_view.textCursor().position() == cursorBefore));
    report("selection_dropped", QString::number(!m_view.textCursor().hasSelection()));
    report("peak_bytes", peakResident());
    return 0;
}

// The novel as it opens, then read again in Taiwan's script with its words
// and back, as the 显示 page does when the script is chosen: the view at the
// start, the dictionaries loaded on the pool and the script's glyphs made
// ready while the page was in view (a second).
int Session::runConvert()
{
    setUp();
    openNovel();
    stopTracking("open_");
    QElapsedTimer loading;
    loading.start();
    WorkerPool::run([] {
        ScriptConverter::forConfiguration(QStringLiteral("s2twp.json"));
    }).waitForFinished();
    report("dictionaries_ms", loading.nsecsElapsed() / 1e6);
    m_display.prepareScripts({QStringLiteral("s2twp.json")});
    waitMs(1000);
    switchScript("convert_", Script::TraditionalTaiwanPhrases);
    waitMs(500);
    switchScript("back_", Script::Unchanged);
    report("peak_bytes", peakResident());
    return 0;
}

void Session::switchScript(const char *prefix, Script script)
{
    const auto key = [prefix](const char *name) {
        return QByteArray(prefix) + name;
    };
    TransformOptions options;
    options.script = script;
    const qint64 start = trigger([this, options] {
        const int top = m_display.topPosition();
        m_display.setTransformOptions(options);
        m_display.openFile(m_case.file, true, 0);
        m_display.showPosition(top, 0);
    });
    report(key("call_ms").constData(), msBetween(start, m_callEnd));
    const qint64 shown = waitUntil([this] {
        return std::any_of(m_paints.cbegin(), m_paints.cend(),
                           [](const Paint &p) { return p.look; });
    });
    const qint64 painted = firstLookPaint();
    if (shown >= 0 && painted >= 0)
        report(key("paint_ms").constData(), msBetween(start, painted));
    if (waitUntil([this] { return !m_display.isLoading(); }) >= 0 && m_loadedAt >= 0)
        report(key("loaded_ms").constData(), msBetween(start, m_loadedAt));
    stopTracking(prefix);
}

int Session::run()
{
    if (m_case.kind == QLatin1String("open"))
        return runOpen();
    if (m_case.kind == QLatin1String("jump"))
        return runJump();
    if (m_case.kind == QLatin1String("chapters"))
        return runChapters();
    if (m_case.kind == QLatin1String("convert"))
        return runConvert();
    return runLookChange();
}

// The text as any reader that knew the encoding would decode it.
QString novelText(const QByteArray &bytes, const QString &encoding)
{
    if (encoding == QLatin1String("utf8"))
        return QString::fromUtf8(bytes);
    return novelCodec(encoding)->toUnicode(bytes);
}

double sameProcessFloorMs(const BenchCase &benchCase)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(benchCase.file);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const QString text = novelText(bytes, benchCase.encoding);
    QTextDocument document;
    document.setPlainText(text);
    return timer.nsecsElapsed() / 1e6;
}

// Linux lets a process start its peak resident size afresh.
void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// What any reader has to pay to get the text into a document at all.
int runFloor(const BenchCase &benchCase)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(benchCase.file);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const qint64 read = timer.nsecsElapsed();
    const QString text = novelText(bytes, benchCase.encoding);
    const qint64 decoded = timer.nsecsElapsed();
    QTextDocument document;
    document.setPlainText(text);
    const qint64 done = timer.nsecsElapsed();
    report("floor_read_ms", read / 1e6);
    report("floor_decode_ms", (decoded - read) / 1e6);
    report("floor_setplaintext_ms", (done - decoded) / 1e6);
    report("floor_ms", done / 1e6);
    report("floor_peak_bytes", peakResident());
    report("chars", document.characterCount());

    // Detection looks at samples of the bytes only, whatever their size.
    timer.start();
    const int codec = ZkTextDecoder::detect(bytes);
    report("detect_ms", timer.nsecsElapsed() / 1e6);
    report("detected", TextEncoding::name(codec));

    QTextCursor cursor(&document);
    timer.start();
    const bool forward = !document.find(Needle, cursor).isNull();
    report("floor_find_forward_ms", timer.nsecsElapsed() / 1e6);
    cursor.movePosition(QTextCursor::End);
    timer.start();
    const bool backward = !document.find(Needle, cursor, QTextDocument::FindBackward).isNull();
    report("floor_find_backward_ms", timer.nsecsElapsed() / 1e6);
    return forward || backward ? 1 : 0;
}

} // namespace

int runBenchCase(const BenchCase &benchCase)
{
    if (benchCase.kind == QLatin1String("floor"))
        return runFloor(benchCase);
    if (benchCase.kind == QLatin1String("firstopen"))
        return runFirstOpen(benchCase);
    if (benchCase.kind == QLatin1String("clean"))
        return runClean(benchCase);
    if (benchCase.kind == QLatin1String("search"))
        return runSearchBench(benchCase);
    if (benchCase.kind == QLatin1String("shelf"))
        return runShelfBench(benchCase);
    Session session(benchCase);
    return session.run();
}
