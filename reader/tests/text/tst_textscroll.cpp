#include "TextScroll.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

#include <climits>

namespace
{

// Positions on the scroll bar, resolved against the real view because the
// range depends on the fonts the test machine has.
enum Position { Top, HalfPage, Middle, HalfPageBeforeEnd, ThreeBeforeEnd, End };

// Set in the child process that checks the missing-scroll-bar assertion.
const char *const NoBarVariable = "TST_TEXTSCROLL_NO_BAR";

QString lines(int count)
{
    QStringList text;
    for (int i = 1; i <= count; ++i)
        text << QStringLiteral("第%1行 这是一部很长的小说中的一行文字。").arg(i);
    return text.join(QLatin1Char('\n'));
}

} // namespace

Q_DECLARE_METATYPE(Position)

class TestTextScroll : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void manualMoves_data();
    void manualMoves();
    void ticks_data();
    void ticks();
    void timerState_data();
    void timerState();
    void typeChangesTakeEffect();
    void ticksContinueFromUserPosition();
    void pageTurnsShowEveryLineWhole_data();
    void pageTurnsShowEveryLineWhole();
    void missingScrollBarAsserts_data();
    void missingScrollBarAsserts();

private:
    void showDocument(int lineCount);
    int resolve(Position position) const;
    QScrollBar *bar() const { return m_edit->verticalScrollBar(); }
    QTimer *timer() const { return m_scroll->findChild<QTimer *>(); }

    QTextEdit *m_edit = nullptr;
    TextScroll *m_scroll = nullptr;
};

void TestTextScroll::init()
{
    m_edit = new QTextEdit;
    m_edit->setReadOnly(true);
    // No wrapping: the range must not change when the scroll bar appears.
    m_edit->setLineWrapMode(QTextEdit::NoWrap);
    m_edit->resize(400, 300);
    m_scroll = new TextScroll(m_edit);
    m_scroll->setScrollBar(bar());
}

void TestTextScroll::cleanup()
{
    delete m_edit;
    m_edit = nullptr;
    m_scroll = nullptr;
}

void TestTextScroll::showDocument(int lineCount)
{
    m_edit->setPlainText(lines(lineCount));
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    // The view lays long documents out in the background and estimates the
    // rest meanwhile; asking for the size finishes the layout, so the range
    // the expectations are computed from no longer changes under the ticks.
    m_edit->document()->size();
    QCoreApplication::processEvents();
}

int TestTextScroll::resolve(Position position) const
{
    const int max = bar()->maximum();
    const int page = bar()->pageStep();
    switch (position) {
    case Top:
        return 0;
    case HalfPage:
        return page / 2;
    case Middle:
        return max / 2;
    case HalfPageBeforeEnd:
        return max - page / 2;
    case ThreeBeforeEnd:
        return max - 3;
    case End:
        return max;
    }
    return -1;
}

void TestTextScroll::pageTurnsShowEveryLineWhole_data()
{
    QTest::addColumn<int>("viewHeight");
    QTest::addColumn<bool>("forward");
    for (int height : {137, 200, 251}) {
        QTest::addRow("down, %d px", height) << height << true;
        QTest::addRow("up, %d px", height) << height << false;
    }
}

// Turning page after page through wrapped lines, each line of the text is
// once on screen whole, and each turn moves the view.
void TestTextScroll::pageTurnsShowEveryLineWhole()
{
    QFETCH(int, viewHeight);
    QFETCH(bool, forward);
    m_edit->setLineWrapMode(QTextEdit::WidgetWidth);
    m_edit->resize(260, viewHeight);
    m_scroll->setTextView(m_edit);
    showDocument(40);
    bar()->setValue(forward ? bar()->minimum() : bar()->maximum());

    QTextDocument *document = m_edit->document();
    QSet<int> seenWhole; // tops of the lines, in the document's pixels
    int lineCount = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lineCount += block.layout()->lineCount();
    const auto look = [&] {
        const int top = bar()->value(), bottom = top + m_edit->viewport()->height();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const qreal blockTop = document->documentLayout()->blockBoundingRect(block).top();
            for (int i = 0; i < block.layout()->lineCount(); ++i) {
                const QTextLine line = block.layout()->lineAt(i);
                if (blockTop + line.y() >= top && blockTop + line.y() + line.height() <= bottom)
                    seenWhole << int(blockTop + line.y());
            }
        }
    };
    look();
    QVERIFY(lineCount > 40); // wrapped
    for (int turns = 0; bar()->value() != (forward ? bar()->maximum() : bar()->minimum());
         ++turns) {
        QVERIFY(turns < lineCount);
        const int before = bar()->value();
        m_scroll->scrollPage(forward);
        QVERIFY(bar()->value() != before);
        look();
    }
    QCOMPARE(seenWhole.size(), lineCount);
}

void TestTextScroll::manualMoves_data()
{
    QTest::addColumn<Position>("start");
    QTest::addColumn<int>("step"); // 0 turns a page
    QTest::addColumn<bool>("forward");
    QTest::addColumn<Position>("expected");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("pages");

    QTest::newRow("step forward") << Middle << 10 << true << Middle << 10 << 0;
    QTest::newRow("step back") << Middle << 10 << false << Middle << -10 << 0;
    QTest::newRow("step back at the top") << Top << 1 << false << Top << 0 << 0;
    QTest::newRow("step forward at the end") << End << 1 << true << End << 0 << 0;
    QTest::newRow("huge step forward") << Middle << INT_MAX << true << End << 0 << 0;
    QTest::newRow("huge step back") << Middle << INT_MAX << false << Top << 0 << 0;
    QTest::newRow("page forward") << Top << 0 << true << Top << 0 << 1;
    QTest::newRow("page back") << Middle << 0 << false << Middle << 0 << -1;
    QTest::newRow("page back near the top") << HalfPage << 0 << false << Top << 0 << 0;
    QTest::newRow("page forward near the end") << HalfPageBeforeEnd << 0 << true << End << 0 << 0;
}

void TestTextScroll::manualMoves()
{
    QFETCH(Position, start);
    QFETCH(int, step);
    QFETCH(bool, forward);
    QFETCH(Position, expected);
    QFETCH(int, units);
    QFETCH(int, pages);

    showDocument(300);
    QVERIFY(bar()->maximum() > 4 * bar()->pageStep());
    bar()->setValue(resolve(start));
    if (step == 0)
        m_scroll->scrollPage(forward);
    else
        m_scroll->scrollStep(forward, step);
    QCOMPARE(bar()->value(), resolve(expected) + units + pages * bar()->pageStep());
}

void TestTextScroll::ticks_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("interval");
    QTest::addColumn<Position>("start");

    QTest::newRow("scroll, zero interval") << 300 << 1 << 0 << Top;
    QTest::newRow("scroll stops at the end") << 300 << 1 << 0 << ThreeBeforeEnd;
    QTest::newRow("page, zero interval") << 300 << 2 << 0 << Top;
    QTest::newRow("last page turn is partial") << 300 << 2 << 0 << HalfPageBeforeEnd;
    QTest::newRow("short document, scroll") << 3 << 1 << 0 << Top;
    QTest::newRow("short document, page") << 3 << 2 << 0 << Top;
}

// Every tick must move by exactly one unit or one page, and ticks at the end
// must leave the view where it is while the timer keeps running.
void TestTextScroll::ticks()
{
    QFETCH(int, lineCount);
    QFETCH(int, type);
    QFETCH(int, interval);
    QFETCH(Position, start);

    showDocument(lineCount);
    if (lineCount < 10)
        QCOMPARE(bar()->maximum(), 0);
    const int max = bar()->maximum();
    const int delta = type == 1 ? 1 : bar()->pageStep();
    const int first = resolve(start);
    bar()->setValue(first);

    QSignalSpy tickSpy(timer(), &QTimer::timeout);
    QSignalSpy valueSpy(bar(), &QScrollBar::valueChanged);
    m_scroll->setScrollType(type, interval);
    QTRY_VERIFY(tickSpy.count() >= 5);

    QList<int> expected;
    int value = first;
    for (int i = 0; i < tickSpy.count(); ++i) {
        const int next = qMin(value + delta, max);
        if (next != value)
            expected << next;
        value = next;
    }
    QList<int> seen;
    for (const QList<QVariant> &arguments : qAsConst(valueSpy))
        seen << arguments.at(0).toInt();
    QCOMPARE(seen, expected);
    QCOMPARE(bar()->value(), value);
    QVERIFY(timer()->isActive());
}

void TestTextScroll::timerState_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("active");

    QTest::newRow("scroll, zero interval") << 1 << 0 << true;
    QTest::newRow("page") << 2 << 5000 << true;
    QTest::newRow("longest page interval") << 2 << 100000 * 1000 << true;
    QTest::newRow("stop") << 0 << 1000 << false;
    QTest::newRow("unknown type while idle") << 7 << 50 << false;
}

void TestTextScroll::timerState()
{
    QFETCH(int, type);
    QFETCH(int, interval);
    QFETCH(bool, active);

    m_scroll->setScrollType(type, interval);
    QCOMPARE(timer()->isActive(), active);
    if (active) {
        QCOMPARE(timer()->interval(), interval);
        QVERIFY(!timer()->isSingleShot());
    }
}

void TestTextScroll::typeChangesTakeEffect()
{
    showDocument(300);
    // Running, but far too slow to tick during the test.
    m_scroll->setScrollType(2, 100000 * 1000);
    QSignalSpy valueSpy(bar(), &QScrollBar::valueChanged);

    m_scroll->setScrollType(1, 0);
    QCOMPARE(timer()->interval(), 0);
    QTRY_VERIFY(valueSpy.count() >= 3);
    QCOMPARE(valueSpy.at(0).at(0).toInt(), 1);
    QCOMPARE(valueSpy.at(1).at(0).toInt(), 2);

    m_scroll->setScrollType(2, 0);
    const int before = bar()->value();
    valueSpy.clear();
    QTRY_VERIFY(valueSpy.count() >= 2);
    QCOMPARE(valueSpy.at(0).at(0).toInt(), before + bar()->pageStep());
    QCOMPARE(valueSpy.at(1).at(0).toInt(), before + 2 * bar()->pageStep());

    m_scroll->setScrollType(0, 1000);
    QVERIFY(!timer()->isActive());
    const int stopped = bar()->value();
    QCoreApplication::processEvents();
    QCOMPARE(bar()->value(), stopped);
}

void TestTextScroll::ticksContinueFromUserPosition()
{
    showDocument(300);
    m_scroll->setScrollType(1, 0);
    QTRY_VERIFY(bar()->value() >= 3);

    // The user drags the view back up, then further down.
    for (const Position position : {HalfPage, Middle}) {
        const int moved = resolve(position);
        bar()->setValue(moved);
        QSignalSpy tickSpy(timer(), &QTimer::timeout);
        QTRY_VERIFY(tickSpy.count() >= 3);
        QCOMPARE(bar()->value(), moved + tickSpy.count());
    }
}

void TestTextScroll::missingScrollBarAsserts_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("step") << QStringLiteral("step");
    QTest::newRow("page") << QStringLiteral("page");
    QTest::newRow("timer tick") << QStringLiteral("tick");
}

// The assertion ends the process, so it is checked in a child run of this
// same executable.
void TestTextScroll::missingScrollBarAsserts()
{
    QFETCH(QString, operation);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(NoBarVariable), operation);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QByteArray errors = child.readAllStandardError();
    QVERIFY2(errors.contains("m_scrollBar != NULL"), errors.constData());
}

namespace
{

int runWithoutScrollBar(const QByteArray &operation)
{
    TextScroll scroll;
    if (operation == "step") {
        scroll.scrollStep(true, 1);
    } else if (operation == "page") {
        scroll.scrollPage(true);
    } else {
        scroll.setScrollType(1, 0);
        QTimer::singleShot(10000, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    return 0; // only reached if the assertion did not fire
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(NoBarVariable))
        return runWithoutScrollBar(qgetenv(NoBarVariable));
    TestTextScroll test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_textscroll.moc"
