#include "SearchBench.h"

#include "BenchCase.h"
#include "FindAll.h"
#include "SearchPanel.h"
#include "TextDisplay.h"
#include "TextEdit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>

#include <limits>

#include <cstdio>
#include <functional>

namespace
{

void report(const QString &key, double value)
{
    std::printf("%s=%.1f\n", qPrintable(key), value);
    std::fflush(stdout);
}

// The reader's window as far as searching goes: the view, the find box, its
// buttons and the panel, with a beat that measures every pass of the loop.
class SearchSession
{
public:
    SearchSession()
    {
        m_clock.start();
        m_window.setCentralWidget(&m_view);
        m_window.resize(1100, 750);
        m_display.setTextWidget(&m_view);
        m_display.setParentWidget(&m_window);
        m_findAll = new FindAll(&m_window, &m_display, &m_view);
        m_findAll->setControls(&m_box, &m_all, &m_case, &m_regex);
        m_window.addDockWidget(Qt::LeftDockWidgetArea, m_findAll->panel());
        m_finder.setTextWidget(&m_view);
        m_finder.setFindEdit(&m_box);
        m_finder.setTextDisplay(&m_display);
        m_finder.setResultLabel(&m_label);
        m_window.show();
        m_beat.setInterval(1);
        m_beat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_beat, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = qMax(m_longest, now - m_last);
            if (m_last >= m_callEnd)
                m_longestAfter = qMax(m_longestAfter, now - m_last);
            m_last = now;
        });
        m_beat.start();
    }

    QAbstractItemModel *rows() { return m_findAll->panel()->findChild<QListView *>()->model(); }
    QLabel *status() { return m_findAll->panel()->findChild<QLabel *>(); }

    // Runs action in a pass of its own, then waits until done holds; reports
    // the milliseconds to each condition and the longest pass meanwhile.
    void measure(const QString &prefix, const std::function<void()> &action,
                 const QList<QPair<QString, std::function<bool()>>> &marks)
    {
        QEventLoop loop;
        qint64 start = 0;
        QTimer::singleShot(0, [&] {
            m_longest = m_longestAfter = 0;
            m_callEnd = std::numeric_limits<qint64>::max();
            start = m_last = m_clock.nsecsElapsed();
            action();
            m_callEnd = m_clock.nsecsElapsed();
            report(prefix + QStringLiteral("call_ms"), (m_callEnd - start) / 1e6);
            loop.quit();
        });
        loop.exec();
        int next = 0;
        QTimer check;
        check.setInterval(1);
        QObject::connect(&check, &QTimer::timeout, [&] {
            while (next < marks.size() && marks.at(next).second()) {
                report(prefix + marks.at(next).first, (m_clock.nsecsElapsed() - start) / 1e6);
                ++next;
            }
            if (next == marks.size() || m_clock.nsecsElapsed() - start > 120e9)
                loop.quit();
        });
        check.start();
        loop.exec();
        report(prefix + QStringLiteral("longest_ms"), m_longest / 1e6);
        report(prefix + QStringLiteral("longest_after_ms"), m_longestAfter / 1e6);
    }

    void search(const QString &prefix, const QString &query)
    {
        m_box.setText(query);
        measure(prefix, [this] { m_findAll->search(); },
                {{QStringLiteral("first100_ms"),
                  [this] {
                      return rows()->rowCount() >= 100;
                  }},
                 {QStringLiteral("all_ms"), [this] {
                      return done();
                  }}});
        // "共 N 处" first
        report(prefix + QStringLiteral("count"), QRegularExpression(QStringLiteral("\\d+"))
                                                     .match(status()->text())
                                                     .captured()
                                                     .toDouble());
        report(prefix + QStringLiteral("rows"), rows()->rowCount());
    }

    bool done()
    {
        return status()->text().startsWith(QStringLiteral("共")) ||
               status()->text() == QStringLiteral("未找到");
    }

    void findNext(const QString &prefix, const QString &word)
    {
        m_box.setText(word);
        QTextCursor start(m_view.document());
        m_view.setTextCursor(start);
        measure(prefix, [this] { m_finder.findNext(); },
                {{QStringLiteral("done_ms"), [this] {
                      return m_view.textCursor().hasSelection() || !m_label.text().isEmpty();
                  }}});
    }

    QMainWindow m_window;
    QTextEdit m_view;
    TextDisplay m_display;
    FindAll *m_findAll; // the window's child
    TextEdit m_finder;
    QLineEdit m_box;
    QPushButton m_all;
    QCheckBox m_case, m_regex;
    QLabel m_label;
    QElapsedTimer m_clock;
    QTimer m_beat;
    qint64 m_last = 0, m_longest = 0;
    qint64 m_callEnd = 0, m_longestAfter = 0; // passes that began after the call returned
};

} // namespace

// A search started while the text loads, the same search once it is all
// there, one common character (past the list's cap), and find next from the
// start to a hit and to a miss.
int runSearchBench(const BenchCase &benchCase)
{
    SearchSession session;
    const QString word = QStringLiteral("山风");
    // The words are typed as in the reader, which loads the dictionaries of
    // the scripts a word may be typed in on the pool meanwhile; typing takes
    // longer than half a second.
    session.m_box.setText(word);
    emit session.m_box.textEdited(word);
    QEventLoop typing;
    QTimer::singleShot(500, &typing, &QEventLoop::quit);
    typing.exec();
    session.measure(QStringLiteral("loading_"),
                    [&] {
                        session.m_display.openFile(benchCase.file, true, 0);
                        session.m_findAll->search();
                    },
                    {{QStringLiteral("first100_ms"),
                      [&] {
                          return session.rows()->rowCount() >= 100;
                      }},
                     {QStringLiteral("all_ms"), [&] {
                          return session.done();
                      }}});
    session.search(QStringLiteral("search_"), word);
    session.search(QStringLiteral("common_"), QStringLiteral("的"));
    session.findNext(QStringLiteral("next_hit_"), QStringLiteral("第100章"));
    session.findNext(QStringLiteral("next_miss_"), QStringLiteral("查无此句XYZ"));
    return 0;
}
