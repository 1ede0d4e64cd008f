#include "ReadingLayout.h"
#include "TextDisplay.h"

#include <QRandomGenerator>
#include <QTextLayout>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>
#include <cmath>

Q_DECLARE_METATYPE(ComfortSettings)

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

// Every block with its place and lines, each line as start+length@y.
QStringList blocksOf(const QTextDocument *document)
{
    const auto n = [](qreal value) {
        return QString::number(value, 'g', 12);
    };
    QStringList blocks;
    qreal bottom = document->documentMargin();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QRectF rect = document->documentLayout()->blockBoundingRect(block);
        QString text = QStringLiteral("%1 %2 %3 %4:")
                           .arg(n(rect.x()), n(rect.y()), n(rect.width()), n(rect.height()));
        if (rect.top() != bottom)
            text.prepend("not below the block before: ");
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            text += ' ' + n(line.textStart()) + '+' + n(line.textLength()) + '@' + n(line.y());
        }
        blocks << text;
        bottom = rect.bottom();
    }
    const QSizeF size = document->documentLayout()->documentSize(); // once all is laid out
    return blocks << n(size.width()) + " x " + n(size.height());
}

} // namespace

class TestReadingLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void changeSequences_data();
    void changeSequences();
    void jumpsStayOnScreen_data();
    void jumpsStayOnScreen();
    void comfortShapesTheColumn_data();
    void comfortShapesTheColumn();
    void longTextIsLaidOutWhereShown();

private:
    void run(const QString &step);
    int position(const QString &where) const;
    void compareWithFreshLayout();

    std::unique_ptr<QTextEdit> m_edit;
    TextDisplay *m_display = nullptr; // Qt child of m_edit
    QTextCursor m_editBlock;          // holds an edit block open between steps
};

void TestReadingLayout::init()
{
    m_edit.reset(new QTextEdit);
    m_edit->resize(420, 300);
    m_display = new TextDisplay(m_edit.get());
    m_display->setTextWidget(m_edit.get());
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
}

int TestReadingLayout::position(const QString &where) const
{
    const int last = m_edit->document()->characterCount() - 1;
    return where == "start" ? 0 : where == "end" ? last : last / 2;
}

// One step of a change sequence: "view text 3000", "document text 50",
// "view html 40", "view clear", "insert middle 30", "remove end 500",
// "begin", "end", "query start", "width 300", "font 15", "comfort 150" (line
// spacing, with fixed paragraph spacing, margins and width).
void TestReadingLayout::run(const QString &step)
{
    const QString what = step.section(' ', 0, 0), where = step.section(' ', 1, 1);
    const int count = step.section(' ', -1).toInt(), last = position("end");
    QTextDocument *document = m_edit->document();
    QTextCursor cursor(document);
    cursor.setPosition(position(where));
    if (step.startsWith("view text"))
        m_edit->setPlainText(paragraphs(count));
    else if (step.startsWith("view html"))
        m_edit->setHtml(QStringLiteral("<p>段落 %1</p>").repeated(count).arg(count));
    else if (step == "view clear")
        m_edit->clear();
    else if (what == "document")
        document->setPlainText(paragraphs(count, 2));
    else if (what == "insert")
        cursor.insertText(paragraphs(count, 1));
    else if (what == "remove") {
        cursor.setPosition(qBound(0, cursor.position(), qMax(0, last - count)));
        cursor.setPosition(qMin(last, cursor.position() + count), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    } else if (step == "begin")
        (m_editBlock = cursor).beginEditBlock();
    else if (step == "end")
        m_editBlock.endEditBlock();
    else if (what == "query") { // what cursors, finds and clicks ask while a change may be open
        cursor.movePosition(QTextCursor::Down);
        const QRectF rect = document->documentLayout()->blockBoundingRect(cursor.block());
        document->documentLayout()->hitTest(rect.center(), Qt::FuzzyHit);
        m_edit->setTextCursor(cursor);
        QVERIFY(document->documentLayout()->documentSize().height() > 0);
    } else if (what == "width")
        m_edit->resize(count, 300);
    else if (what == "font")
        document->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), count));
    else if (what == "comfort")
        m_display->setComfort({count, 6, 30, 300});
    else
        QFAIL(qPrintable(step));
}

// The layout of the final text must equal one made from scratch.
void TestReadingLayout::compareWithFreshLayout()
{
    const QTextDocument *document = m_edit->document();
    QTRY_VERIFY_WITH_TIMEOUT(readingLayout(m_edit.get())->laidOutToTheEnd(), 20000);
    QScopedPointer<QTextDocument> fresh(document->clone());
    fresh->setDefaultFont(document->defaultFont());
    fresh->setDocumentMargin(document->documentMargin());
    auto *layout = new ReadingLayout(fresh.data());
    layout->setComfort(readingLayout(m_edit.get())->comfort());
    fresh->setDocumentLayout(layout);
    fresh->setPageSize(document->pageSize());
    const QStringList blocks = blocksOf(document);
    QCOMPARE(blocks, blocksOf(fresh.data()));
    QVERIFY(blocks.filter("not below").isEmpty());
}

void TestReadingLayout::changeSequences_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("view setPlainText, empty view") << "view text 3000";
    QTest::newRow("view setPlainText over a long text")
        << "document text 6000, query end, view text 3000, query middle";
    QTest::newRow("view setHtml, then clear")
        << "view html 500, query end, view clear, view html 20";
    QTest::newRow("inserts and removes at start, middle and end")
        << "view text 2000, insert start 40, remove middle 3000, insert end 10, remove start 1, "
           "insert middle 300, remove end 800";
    QTest::newRow("queries inside an edit block")
        << "view text 2000, begin, remove start 5000, query start, insert end 900, query end, "
           "remove middle 700, query middle, end";
    QTest::newRow("setPlainText inside an edit block")
        << "view text 500, begin, document text 4000, query end, insert start 3, query middle, "
           "end, query end";
    QTest::newRow("comfort while laid out in part")
        << "view text 4000, query end, comfort 180, query middle, width 300, comfort 100";
    QTest::newRow("width and font while laid out in part")
        << "view text 4000, query end, width 250, query middle, font 17, insert middle 20, width "
           "600";

    QRandomGenerator random(8); // edits, queries and edit blocks, repeatable by the seed
    const auto step = [&random] {
        const QStringList kinds{"insert", "remove", "query", "query"},
            wheres{"start", "middle", "end"};
        return kinds[random.bounded(4)] + ' ' + wheres[random.bounded(3)] + ' ' +
               QString::number(random.bounded(1, 400));
    };
    QString steps = "view text 1500";
    for (int i = 0; i < 60; ++i) {
        const bool block = random.bounded(4) == 0;
        const QString first = step(), second = step();
        steps += (block ? ", begin, " : ", ") + first + ", " + second + (block ? ", end" : "");
    }
    QTest::newRow("random") << steps;
}

void TestReadingLayout::changeSequences()
{
    QFETCH(QString, steps);
    for (const QString &step : steps.split(", ")) {
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
    QFile file(dir.filePath("long.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(paragraphs(30000).toUtf8()); // 1.2 million characters
    file.close();
    QSignalSpy loaded(m_display, &TextDisplay::textLoaded);
    m_display->openFile(file.fileName(), true, 0);
    // The jump comes the moment the whole text is in, before any of its
    // background layout.
    QVERIFY(loaded.wait(10000));
    QScrollBar *bar = m_edit->verticalScrollBar();
    QWidget *view = m_edit->viewport();

    QTextCursor probe(m_edit->document()); // what the jump shows
    if (how.startsWith("cursor")) {
        probe.setPosition(position(how.section(' ', 1)));
        m_edit->setTextCursor(probe);
    } else {
        bar->setValue(how == "bar end" ? bar->maximum() : bar->maximum() / 2);
        QCoreApplication::processEvents();
        const QPoint corner = how == "bar end" ? QPoint(view->width() - 5, view->height() - 5)
                                               : QPoint(5, view->height() / 2);
        // the last lines may still carry estimated heights on the first paint
        if (how == "bar end")
            QTRY_COMPARE(m_edit->cursorForPosition(corner).position(), position("end"));
        probe = m_edit->cursorForPosition(corner);
    }
    QCoreApplication::processEvents();
    QVERIFY(m_edit->document()->findBlock(position("middle") / 2).layout()->lineCount() == 0);
    QTRY_VERIFY(view->rect().contains(m_edit->cursorRect(probe)));
    // At the end, the last line sits at the bottom once the view knows the
    // real height of what it shows.
    if (how == "bar end")
        QTRY_VERIFY(view->height() - m_edit->cursorRect(probe).bottom() < 10);
    const QRect where = m_edit->cursorRect(probe);
    const int valueBefore = bar->value();

    QTRY_VERIFY_WITH_TIMEOUT(readingLayout(m_edit.get())->laidOutToTheEnd(), 30000);
    QCoreApplication::processEvents();
    QCOMPARE(m_edit->cursorRect(probe), where);
    QVERIFY(bar->value() != valueBefore); // the estimates were wrong, or this would prove nothing
}

void TestReadingLayout::comfortShapesTheColumn_data()
{
    QTest::addColumn<ComfortSettings>("comfort");
    QTest::addColumn<QString>("column"); // left and width
    // In a page 608 wide, 600 inside the document margins of 4:
    QTest::newRow("defaults") << ComfortSettings() << "4 600";
    QTest::newRow("spacing and margins") << ComfortSettings{150, 8, 40, 0} << "44 520";
    QTest::newRow("narrower than the page, centred")
        << ComfortSettings{100, 0, 0, 351} << "128 351";
    // "twenty": as wide as twenty characters of the font, centred.
    QTest::newRow("too narrow for twenty characters") << ComfortSettings{100, 0, 0, 40} << "twenty";
    QTest::newRow("margins give way to a narrow column")
        << ComfortSettings{250, 100, 400, 0} << "204 200";
}

// Lines are spaced and paragraphs set apart as asked, in a column that is
// placed as asked, and a point on a line finds that line.
void TestReadingLayout::comfortShapesTheColumn()
{
    QFETCH(ComfortSettings, comfort);
    QFETCH(QString, column);
    QTextDocument document(QStringLiteral("　　天下大势，分久必合，合久必分。").repeated(12) +
                           QStringLiteral("\n第二段"));
    if (column == "twenty") {
        const qreal twenty = 20 * QFontMetricsF(document.defaultFont()).horizontalAdvance(u'中');
        QVERIFY(twenty > comfort.maxTextWidth && twenty < 600);
        column = QStringLiteral("%1 %2").arg(4 + std::floor((600 - twenty) / 2)).arg(twenty);
    }
    auto *layout = new ReadingLayout(&document);
    document.setDocumentLayout(layout);
    document.setPageSize(QSizeF(608, 1e6));
    const QTextBlock first = document.firstBlock();
    const QTextLine line = first.layout()->lineAt(0);
    const qreal natural = std::ceil(line.ascent() + line.descent() + line.leading());

    layout->setComfort(comfort);
    const QRectF rect = layout->blockBoundingRect(first);
    const QTextLayout *lines = first.layout();
    QVERIFY(lines->lineCount() >= 2);
    const qreal pitch = std::ceil(natural * comfort.lineSpacing / 100);
    QCOMPARE(QStringLiteral("%1 %2").arg(rect.x()).arg(rect.width()), column);
    QCOMPARE(lines->lineAt(1).y() - lines->lineAt(0).y(), pitch);
    QCOMPARE(rect.height(), lines->lineCount() * pitch + comfort.paragraphSpacing);
    QCOMPARE(layout->blockBoundingRect(first.next()).top(), rect.bottom());
    const QTextLine second = lines->lineAt(1);
    const QPointF onSecond(rect.x() + 1, rect.top() + second.y() + second.height() / 2);
    QCOMPARE(layout->hitTest(onSecond, Qt::FuzzyHit), second.textStart());
}

// A novel of millions of characters is laid out only where it is shown:
// the rest keeps estimated heights, close enough to the real ones that the
// scroll bar does not mislead.
void TestReadingLayout::longTextIsLaidOutWhereShown()
{
    m_edit->setPlainText(paragraphs(110000)); // 4.4 million characters
    ReadingLayout *layout = readingLayout(m_edit.get());
    const QTextDocument *document = m_edit->document();
    const auto laidOut = [document] {
        int count = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            count += block.layout()->lineCount() > 0;
        return count;
    };
    QTest::qWait(100);
    const int shown = laidOut();
    QVERIFY(shown > 0);
    // The background would have laid out tens of thousands of blocks by now.
    QTest::qWait(400);
    QCOMPARE(laidOut(), shown);

    const qreal estimated = layout->documentSize().height();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        layout->blockBoundingRect(block);
    QVERIFY(layout->laidOutToTheEnd());
    QVERIFY(qAbs(estimated / layout->documentSize().height() - 1) < 0.05);
}

QTEST_MAIN(TestReadingLayout)
#include "tst_readinglayout.moc"
