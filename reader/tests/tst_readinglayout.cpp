#include "ReadingLayout.h"
#include "TextDisplay.h"

#include <QRandomGenerator>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

namespace
{

// Paragraphs of different lengths and scripts, so that estimated heights are
// wrong in both directions.
QString paragraphs(int count, int seed = 0)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const int kind = (i + seed) % 5;
        if (kind == 4)
            text += QStringLiteral("第%1章\n").arg(i);
        else if (kind == 3)
            text +=
                QStringLiteral("Lorem ipsum dolor sit amet %1, ").arg(i).repeated(i % 7 + 1) + '\n';
        else
            text += QStringLiteral("　　天下大势，分久必合，合久必分。").repeated(i % 9 + 1) + '\n';
    }
    return text;
}

ReadingLayout *readingLayout(const QTextEdit *edit)
{
    return qobject_cast<ReadingLayout *>(edit->document()->documentLayout());
}

} // namespace

class TestReadingLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changeSequences_data();
    void changeSequences();
    void jumpsStayOnScreen_data();
    void jumpsStayOnScreen();

private:
    void run(const QString &step);
    int position(const QString &where) const;
    void compareWithFreshLayout();

    QTextEdit *m_edit = nullptr;
    TextDisplay *m_display = nullptr;
    QTextCursor m_editBlock; // holds an edit block open between steps
};

void TestReadingLayout::init()
{
    m_edit = new QTextEdit;
    m_edit->resize(420, 300);
    m_display = new TextDisplay(m_edit);
    m_display->setTextWidget(m_edit);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
}

void TestReadingLayout::cleanup()
{
    delete m_edit;
}

int TestReadingLayout::position(const QString &where) const
{
    const int last = m_edit->document()->characterCount() - 1;
    if (where == QLatin1String("start"))
        return 0;
    return where == QLatin1String("end") ? last : last / 2;
}

// One step of a change sequence: "view text 3000", "document text 50",
// "view html 40", "view clear", "insert middle 30", "remove end 500",
// "begin", "end", "query start", "width 300", "font 15".
void TestReadingLayout::run(const QString &step)
{
    const QStringList words = step.split(QLatin1Char(' '));
    const QString what = words.value(0), where = words.value(1);
    const int count = words.value(2, words.value(1)).toInt();
    QTextDocument *document = m_edit->document();
    if (what == QLatin1String("view") && where == QLatin1String("text")) {
        m_edit->setPlainText(paragraphs(count));
    } else if (what == QLatin1String("view") && where == QLatin1String("html")) {
        m_edit->setHtml(QStringLiteral("<p>段落 %1</p>").repeated(count).arg(count));
    } else if (what == QLatin1String("view")) {
        m_edit->clear();
    } else if (what == QLatin1String("document")) {
        document->setPlainText(paragraphs(count, 2));
    } else if (what == QLatin1String("insert")) {
        QTextCursor cursor(document);
        cursor.setPosition(position(where));
        cursor.insertText(paragraphs(count, 1));
    } else if (what == QLatin1String("remove")) {
        QTextCursor cursor(document);
        const int from = position(where);
        cursor.setPosition(qMax(0, qMin(from, position("end") - count)));
        cursor.setPosition(qMin(position("end"), cursor.position() + count),
                           QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    } else if (what == QLatin1String("begin")) {
        m_editBlock = QTextCursor(document);
        m_editBlock.beginEditBlock();
    } else if (what == QLatin1String("end")) {
        m_editBlock.endEditBlock();
    } else if (what == QLatin1String("query")) {
        // What cursors, finds and clicks ask while a change may be open.
        QTextCursor cursor(document);
        cursor.setPosition(position(where));
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.movePosition(QTextCursor::Down);
        const QRectF rect = document->documentLayout()->blockBoundingRect(cursor.block());
        document->documentLayout()->hitTest(rect.center(), Qt::FuzzyHit);
        m_edit->setTextCursor(cursor);
        QVERIFY(document->documentLayout()->documentSize().height() > 0);
    } else if (what == QLatin1String("width")) {
        m_edit->resize(count, 300);
    } else if (what == QLatin1String("font")) {
        document->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), count));
    } else {
        QFAIL(qPrintable(step));
    }
}

// Every block lies right below the one before, with the lines a layout of
// the final text made from scratch gives it.
void TestReadingLayout::compareWithFreshLayout()
{
    const QTextDocument *document = m_edit->document();
    QTRY_VERIFY_WITH_TIMEOUT(readingLayout(m_edit)->laidOutToTheEnd(), 20000);
    QScopedPointer<QTextDocument> fresh(document->clone());
    fresh->setDefaultFont(document->defaultFont());
    fresh->setDocumentMargin(document->documentMargin());
    fresh->setDocumentLayout(new ReadingLayout(fresh.data()));
    fresh->setPageSize(document->pageSize());
    QCOMPARE(fresh->blockCount(), document->blockCount());

    qreal bottom = document->documentMargin();
    for (QTextBlock block = document->begin(), other = fresh->begin(); block.isValid();
         block = block.next(), other = other.next()) {
        const QRectF rect = document->documentLayout()->blockBoundingRect(block);
        QCOMPARE(rect.top(), bottom);
        QCOMPARE(rect, fresh->documentLayout()->blockBoundingRect(other));
        const QTextLayout *lines = block.layout(), *freshLines = other.layout();
        QCOMPARE(lines->lineCount(), freshLines->lineCount());
        for (int i = 0; i < lines->lineCount(); ++i) {
            QCOMPARE(lines->lineAt(i).textStart(), freshLines->lineAt(i).textStart());
            QCOMPARE(lines->lineAt(i).textLength(), freshLines->lineAt(i).textLength());
            QCOMPARE(lines->lineAt(i).y(), freshLines->lineAt(i).y());
        }
        bottom = rect.bottom();
    }
    QCOMPARE(document->documentLayout()->documentSize(), fresh->documentLayout()->documentSize());
}

void TestReadingLayout::changeSequences_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("view setPlainText, empty view") << QStringList{"view text 3000"};
    QTest::newRow("view setPlainText over a long text")
        << QStringList{"document text 6000", "query end", "view text 3000", "query middle"};
    QTest::newRow("view setHtml, then clear")
        << QStringList{"view html 500", "query end", "view clear", "view html 20"};
    QTest::newRow("inserts and removes at start, middle and end")
        << QStringList{"view text 2000", "insert start 40",   "remove middle 3000", "insert end 10",
                       "remove start 1", "insert middle 300", "remove end 800"};
    QTest::newRow("queries inside an edit block")
        << QStringList{"view text 2000",    "begin",          "remove start 5000",
                       "query start",       "insert end 900", "query end",
                       "remove middle 700", "query middle",   "end"};
    QTest::newRow("setPlainText inside an edit block") << QStringList{
        "view text 500", "begin", "document text 4000", "query end", "insert start 3",
        "query middle",  "end",   "query end"};
    QTest::newRow("width and font while laid out in part")
        << QStringList{"view text 4000", "query end",        "width 250", "query middle",
                       "font 17",        "insert middle 20", "width 600"};
    QTest::newRow("random") << QStringList{"random"};
}

void TestReadingLayout::changeSequences()
{
    QFETCH(QStringList, steps);
    if (steps == QStringList{"random"}) {
        // Random edits, queries and edit blocks; the seed keeps it repeatable.
        QRandomGenerator random(8);
        const QStringList kinds{"insert", "remove", "query", "query"};
        const QStringList wheres{"start", "middle", "end"};
        steps = QStringList{"view text 1500"};
        bool open = false;
        for (int i = 0; i < 120; ++i) {
            if (random.bounded(8) == 0) {
                steps << (open ? "end" : "begin");
                open = !open;
            }
            steps << QStringLiteral("%1 %2 %3")
                         .arg(kinds[random.bounded(kinds.size())],
                              wheres[random.bounded(wheres.size())])
                         .arg(random.bounded(1, 400));
        }
        if (open)
            steps << "end";
    }
    for (const QString &step : qAsConst(steps)) {
        run(step);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(step));
        QCoreApplication::processEvents();
    }
    compareWithFreshLayout();
}

void TestReadingLayout::jumpsStayOnScreen_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cursor to the last character") << "cursor end";
    QTest::newRow("cursor to the middle") << "cursor middle";
    QTest::newRow("scroll bar to the middle") << "bar middle";
    QTest::newRow("scroll bar to the end") << "bar end";
}

// Right after a long text is opened, a jump deep into it shows the target at
// once without laying the whole text out, and the same text stays at the same
// place on screen while the layout replaces the estimates above it.
void TestReadingLayout::jumpsStayOnScreen()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(paragraphs(30000).toUtf8()); // 1.2 million characters
    file.close();
    m_display->openFile(path, true, 0);
    QScrollBar *bar = m_edit->verticalScrollBar();

    const int target = position(how.section(' ', 1));
    if (how.startsWith(QLatin1String("cursor"))) {
        QTextCursor cursor(m_edit->document());
        cursor.setPosition(target);
        m_edit->setTextCursor(cursor);
    } else {
        bar->setValue(how.endsWith(QLatin1String("end")) ? bar->maximum() : bar->maximum() / 2);
    }
    QCoreApplication::processEvents();
    const QPoint corner =
        how == QLatin1String("bar end")
            ? QPoint(m_edit->viewport()->width() - 5, m_edit->viewport()->height() - 5)
            : QPoint(5, m_edit->viewport()->height() / 2);
    const int shown = how.startsWith(QLatin1String("cursor"))
                          ? target
                          : m_edit->cursorForPosition(corner).position();
    if (how == QLatin1String("bar end"))
        QCOMPARE(shown, position("end"));
    const QTextBlock middle = m_edit->document()->findBlock(position("middle") / 2);
    QVERIFY(middle.layout()->lineCount() == 0);
    QTextCursor probe(m_edit->document());
    probe.setPosition(shown);
    QTRY_VERIFY(m_edit->viewport()->rect().contains(m_edit->cursorRect(probe)));
    // At the end, the last line sits at the bottom once the view knows the
    // real height of what it shows.
    if (how == QLatin1String("bar end"))
        QTRY_VERIFY(m_edit->viewport()->height() - m_edit->cursorRect(probe).bottom() < 10);
    const QRect where = m_edit->cursorRect(probe);
    const int valueBefore = bar->value();

    QTRY_VERIFY_WITH_TIMEOUT(readingLayout(m_edit)->laidOutToTheEnd(), 30000);
    QCoreApplication::processEvents();
    QCOMPARE(m_edit->cursorRect(probe), where);
    // The estimates were wrong, or this would prove nothing.
    QVERIFY(bar->value() != valueBefore);
}

QTEST_MAIN(TestReadingLayout)
#include "tst_readinglayout.moc"
