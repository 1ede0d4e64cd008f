#include "FirstOpenCase.h"

#include "BenchCase.h"
#include "BenchSupport.h"
#include "TextDisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QMutex>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

using namespace bench;

namespace
{

// Turns of the wheel come from another thread, as input comes from the
// window system whatever the GUI thread is doing; how late each is handled
// is how long a person waits for the window to answer.
class WheelHand
{
public:
    WheelHand(QWidget *target, const QElapsedTimer &clock) : m_target(target), m_clock(clock) {}
    ~WheelHand() { stop(); }

    void start()
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                {
                    QMutexLocker lock(&m_mutex);
                    m_posted.push_back(m_clock.nsecsElapsed());
                }
                const QPointF at(100, 100);
                QCoreApplication::postEvent(
                    m_target, new QWheelEvent(at, at, QPoint(), QPoint(0, -120), Qt::NoButton,
                                              Qt::NoModifier, Qt::NoScrollPhase, false));
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    // Called on the GUI thread as a turn is handled.
    void handled()
    {
        QMutexLocker lock(&m_mutex);
        if (m_handled.size() < m_posted.size())
            m_handled.push_back(m_clock.nsecsElapsed());
    }
    std::vector<double> latenciesMs()
    {
        QMutexLocker lock(&m_mutex);
        std::vector<double> latencies;
        for (size_t i = 0; i < m_handled.size(); ++i)
            latencies.push_back((m_handled[i] - m_posted[i]) / 1e6);
        return latencies;
    }
    qint64 firstHandled()
    {
        QMutexLocker lock(&m_mutex);
        return m_handled.empty() ? -1 : m_handled.front();
    }

private:
    QWidget *m_target;
    const QElapsedTimer &m_clock;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    QMutex m_mutex;
    std::vector<qint64> m_posted;
    std::vector<qint64> m_handled;
};

class FirstOpen : public QObject
{
public:
    FirstOpen(const BenchCase &benchCase, const TransformOptions &options)
        : m_case(benchCase), m_options(options)
    {
    }
    int run();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tick();
    void waitFor(const std::function<bool()> &condition);

    BenchCase m_case;
    TransformOptions m_options;
    QElapsedTimer m_clock;
    QMainWindow m_window;
    ReadingView *m_view = new ReadingView; // owned by the window
    TextDisplay m_display;
    WheelHand m_hand{m_view->viewport(), m_clock};
    qint64 m_lastTick = -1;
    qint64 m_longest = 0;
    qint64 m_firstText = -1;
    qint64 m_wheelDrawn = -1;
    bool m_loaded = false;
};

bool FirstOpen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel)
        m_hand.handled();
    return QObject::eventFilter(watched, event);
}

void FirstOpen::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    if (m_lastTick >= 0)
        m_longest = qMax(m_longest, now - m_lastTick);
    m_lastTick = now;
}

void FirstOpen::waitFor(const std::function<bool()> &condition)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (condition())
            loop.quit();
    });
    check.start(5);
    if (!condition())
        loop.exec();
}

int FirstOpen::run()
{
    m_clock.start();
    m_window.setCentralWidget(m_view);
    m_window.resize(897, 556);
    m_display.setTextWidget(m_view);
    m_display.setParentWidget(&m_window);
    m_display.setTransformOptions(m_options);
    m_view->viewport()->installEventFilter(this);
    m_view->painted = [this] {
        const qint64 now = m_clock.nsecsElapsed();
        if (m_firstText < 0 && m_view->document()->characterCount() > 1)
            m_firstText = now;
        const qint64 turned = m_hand.firstHandled();
        if (m_wheelDrawn < 0 && turned >= 0 && now > turned)
            m_wheelDrawn = now;
    };
    QObject::connect(&m_display, &TextDisplay::loadProgress,
                     [this](int percent) { m_loaded = percent == 100; });
    m_window.show();
    waitFor([this] { return m_window.windowHandle() && m_window.windowHandle()->isExposed(); });

    // A file chosen in the dialog comes a second or more after the window;
    // one named on the command line, as soon as it shows.
    if (m_case.position != QLatin1String("atonce"))
        waitFor(
            [this, shownAt = m_clock.elapsed()] { return m_clock.elapsed() - shownAt >= 1000; });
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [this] { tick(); });
    heartbeat.start(0);
    qint64 start = 0, callEnd = 0;
    QTimer::singleShot(0, [&] {
        start = m_lastTick = m_clock.nsecsElapsed();
        m_longest = 0;
        m_hand.start();
        m_display.openFile(m_case.file, true, 0);
        callEnd = m_clock.nsecsElapsed();
    });
    waitFor([&] { return callEnd > 0 && !m_display.isLoading() && m_loaded; });
    const qint64 loaded = m_clock.nsecsElapsed();
    const qint64 longest = m_longest;
    heartbeat.stop();
    m_hand.stop();
    // The turns still on their way are answered once the text is whole.
    QCoreApplication::processEvents();
    std::vector<double> latencies = m_hand.latenciesMs();
    std::sort(latencies.begin(), latencies.end());

    report("first_call_ms", (callEnd - start) / 1e6);
    report("first_text_ms", m_firstText < 0 ? -1 : (m_firstText - start) / 1e6);
    report("first_loaded_ms", (loaded - start) / 1e6);
    report("first_longest_ms", longest / 1e6);
    report("first_wheel_drawn_ms", m_wheelDrawn < 0 ? -1 : (m_wheelDrawn - start) / 1e6);
    report("first_wheel_turns", double(latencies.size()));
    const double characters = m_view->document()->characterCount();
    report("first_map_changes", m_display.positionMap().changeCount());
    report("first_map_bytes_per_char",
           QString::number(m_display.positionMap().bytes() / characters, 'f', 4));
    if (!latencies.empty()) {
        report("first_wheel_median_ms", latencies[latencies.size() / 2]);
        report("first_wheel_worst_ms", latencies.back());
    }
    return 0;
}

} // namespace

int runFirstOpen(const BenchCase &benchCase, const TransformOptions &options)
{
    FirstOpen firstOpen(benchCase, options);
    return firstOpen.run();
}
